/* Placeholder until the libwmf renderer lands: every metafile is unreadable. */
#include "platform/WmfRender.h"
#include <stdlib.h>

int vorad_wmf_render(const unsigned char* data, size_t size, int maxSide, int* width, int* height, unsigned char** rgba) {
    (void)data; (void)size; (void)maxSide; (void)width; (void)height;
    *rgba = NULL;
    return -1;
}
void vorad_wmf_free(unsigned char* rgba) { free(rgba); }

/* Renders a Windows metafile to 32-bit RGBA pixels. Plain C, so that libwmf's headers,
   which clash with Qt's, stay inside WmfRender.c. */
#ifndef VORAD_WMF_RENDER_H
#define VORAD_WMF_RENDER_H
#include <stddef.h>
#ifdef __cplusplus
extern "C" {
#endif
/* maxSide: the longer side of the result in pixels. Returns 0 on success; *rgba is then
   width * height * 4 bytes (R, G, B, A), freed with vorad_wmf_free. */
int vorad_wmf_render(const unsigned char* data, size_t size, int maxSide, int* width, int* height, unsigned char** rgba);
void vorad_wmf_free(unsigned char* rgba);
/* The entry of the player program vorad_wmf_render starts, in the same folder as the caller. */
int vorad_wmf_player_main(int argc, char** argv);
#ifdef __cplusplus
}
#endif
#endif

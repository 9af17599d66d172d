/* Plays one metafile for the program in a process of its own (see platform/WmfRender.c). */
#include "platform/picture/WmfRender.h"

int main(int argc, char** argv) { return vorad_wmf_player_main(argc, argv); }

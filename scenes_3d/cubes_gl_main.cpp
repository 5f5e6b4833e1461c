#include "cube_program.h"

int main() { return CubesGLMain(); }

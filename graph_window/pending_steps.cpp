// Stand-ins for steps that other units provide; each goes when its unit lands.
#include "graph_unit.h"

void CreateGlContexts() {}
void ReleaseGlContexts() {}
void InitKeyboardUnit() {}
void InitMouseUnit() {}

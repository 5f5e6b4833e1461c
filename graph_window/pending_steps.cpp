// Stand-ins for steps that other units provide; each goes when its unit lands.
#include "graph_unit.h"

void CreateGlContexts() {}
void ReleaseGlContexts() {}
void InitKeyboardUnit() {}
void InitMouseUnit() {}
void FetchStandardPalette(TPaletteTable& table) { table.Size = 256; }
void ApplyPalette(const TPaletteTable& table) { ActivePaletteSize = table.Size; }
void LoadTrueColorNames() {}
void InvalidateClientRect(int32_t, int32_t, int32_t, int32_t) {}

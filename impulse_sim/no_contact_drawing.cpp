// Headless builds draw no contacts.
#include "contact_drawing.h"

void DrawContacts(const TContactPoints&, int32_t, uint32_t) {}

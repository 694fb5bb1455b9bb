#pragma once
// JSON forms of a colour ({"R","G","B"}) and of a shade row.
#include "foundation/Njv.h"
#include "shades/SLMShade.h"

#include <cstdint>

Njv LMColourToJson(uint32_t colour);
// Accepts only an object whose "R", "G" and "B" are whole numbers 0..255.
bool LMColourFromJson(const Njv& value, uint32_t& colour);

Njv LMShadeToJson(const SLMShade& row);
// Starts from the empty row; false for any member that is missing, of the
// wrong type or out of range. Prefix and mark must be ASCII: a character
// outside it would otherwise be cut to a different byte.
bool LMShadeFromJson(const Njv& value, SLMShade& row);

#pragma once
// Text of a JSON number as the writer puts it: the shortest digits that read back to
// the same double, in plain decimal form unless the exponent form is shorter
// ("1e21", "1.5e-7"); ties go to the plain form. Not-a-number and infinity have no
// JSON form and are written "Nan", "-Nan", "Inf", "-Inf" by the sign bit; the parser
// does not read these back.
#include <string>

std::wstring NjNumberText(double value);

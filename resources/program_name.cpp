// Tells the platform layer which program this executable is; QORIN_PROGRAM is set by the build.
#include "template.h"

const wchar_t* qres::ProgramName() { return QORIN_PROGRAM; }

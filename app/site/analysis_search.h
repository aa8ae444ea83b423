#pragma once
// The program's own blow and toe finders (the analysis library) in the shape the site asks for.

#include "app/site/toe_search.h"

namespace zarno::site {

BlowSearch ProgramBlowSearch();
ToeSearch ProgramToeSearch();

} // namespace zarno::site

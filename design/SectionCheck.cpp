// Placeholder: filled in by the work on the section library and checks.
#include "SectionCheck.h"

// The program's one font list, which the program itself defines beside its application
// object.
#include "model/FontList.h"

CStringArray FontList;

// The model's one font list.
#include "model/FontList.h"

CStringArray FontList;

// The program's two globals. Defined in one file, they are constructed in this order
// before the entry point runs and destroyed in the reverse order at exit.
#include "app/FontLinkApp.h"
#include "model/FontList.h"

CFontLinkApp theApp;
CStringArray FontList;

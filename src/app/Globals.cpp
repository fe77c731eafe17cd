// The application object, which the entry point finds and runs.
#include "app/FontLinkApp.h"

CFontLinkApp theApp;

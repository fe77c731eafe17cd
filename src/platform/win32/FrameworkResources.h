// Resources that the framework itself uses; the program's resource script defines them.
#pragma once

#define IDS_FAILED_TO_LAUNCH_HELP 61703

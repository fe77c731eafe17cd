// What the model reaches the system through; each program's start makes them on Win32
// and hands them in.
#pragma once

#include "platform/CodePage.h"
#include "platform/Files.h"
#include "platform/FontSource.h"
#include "platform/Libraries.h"
#include "platform/Registry.h"

struct LinkPorts {
    Registry& registry;
    Libraries& libraries;
    FontSource& fonts;
    Files& files;
    CodePageRules rules;
};

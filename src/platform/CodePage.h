// The lead-byte rule of the ANSI code page, by which a path is walked character by
// character: a lead byte and the byte after it are one character.
#pragma once

using LeadByteTest = bool (*)(unsigned char byte);

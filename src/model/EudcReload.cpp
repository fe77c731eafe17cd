// Switching the system's EUDC support, so that a change of the links takes effect at once.
#include "model/FontLinks.h"

// The graphics library is loaded and released on every call: EnableEUDC is looked up by
// name, never bound when the program is loaded.
void FontLinks::SetEUDCEnabled(bool enable)
{
    const std::unique_ptr<Library> gdi = m_libraries.Load("GDI32.DLL");
    if (!gdi) {
        m_window.ShowMessage("LoadLibrary Failed");
        return;
    }
    const BoolEntryPoint enableEudc = gdi->FindBoolEntryPoint("EnableEUDC");
    if (!enableEudc) {
        m_window.ShowMessage("GetProcAddress Failed");
        return;
    }
    enableEudc(enable);  // Its result tells nothing the user could act on.
}

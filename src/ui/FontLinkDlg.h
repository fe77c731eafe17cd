// The main dialog: one row per candidate font with its link, and the commands.
#pragma once

#include <functional>
#include <memory>

#include "model/FontLinks.h"
#include "model/LinkWindow.h"
#include "platform/win32/Dialog.h"
#include "platform/win32/DialogKeyFilter.h"
#include "platform/win32/ListBox.h"
#include "platform/win32/RegistryWatch.h"
#include "ui/ListAccessible.h"
#include "ui/ListRows.h"
#include "ui/MaskedBitmap.h"

class CFontLinkDlg : public CDialog, private LinkWindow {
public:
    // Opens the About box over the main dialog; the application owns what it shows.
    using AboutBoxOpener = std::function<void(HWND owner)>;

    // The links are reached through `ports`, which outlive the dialog.
    CFontLinkDlg(const DialogContext& context, const LinkPorts& ports, AboutBoxOpener openAboutBox);
    ~CFontLinkDlg() override;

protected:
    BOOL OnInitDialog() override;
    const MessageMap& GetMessageMap() const override;

private:
    void LocateListBox();
    void FillFontListBox();
    void ShowRowStates() const;

    // Another program's changes, and the checks of linked files, arrive as messages.
    void OnLinksChecked();
    LRESULT OnKeyChanged(WPARAM arming, LPARAM);
    void OnFontChange();
    void OnTimer(UINT id, LPARAM);
    void ShowInstalledFonts();
    void FollowOtherPrograms();
    void OnDestroy();

    void OnSysCommand(UINT id, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnDrawItem(int controlId, DRAWITEMSTRUCT* item);
    void OnAbout();
    void OnCharacters();
    void OnModify();
    void OnRemove();
    void OnDblclkFontList();
    void OnSelchangeFontList();

    // What the link commands ask of the dialog.
    int GetSelectedRow() const override;
    bool ChooseEudcFile(CString& path) override;
    void ShowMessage(const char* text) override;
    void RepaintAll() override;
    void KeyWritten() override;

    void PaintMinimized();

    static const MessageMapEntry messageEntries[];
    static const MessageMap messageMap;

    AboutBoxOpener m_openAboutBox;
    CListBox* m_pListBox = nullptr;  // belongs to the dialog's window
    RECT m_rcListBox{};              // the list's rectangle in client coordinates
    CMaskedBitmap m_bmpItem;         // the picture at the left of every row
    HICON m_hIcon = nullptr;         // a shared resource icon, never destroyed

    // The fonts, their links read from the registry, and the commands that change them.
    FontLinks m_links;
    const LinkWords m_words;  // what a row says of a link that is missing or cannot work
    ListRows m_rows;
    std::unique_ptr<ListAccessible> m_rowsHeard;  // while the window lives
    std::unique_ptr<RegistryWatch> m_keyWatch;

    // The character view of the selected row's file, from the system menu or Ctrl+E.
    const LinkPorts m_ports;
    std::unique_ptr<DialogKeyFilter> m_charactersKey;
};

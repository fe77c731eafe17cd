// The main dialog: one row per candidate font with its link, and the commands.
#pragma once

#include "platform/win32/Dialog.h"

class CFontLinkDlg : public CDialog {
public:
    explicit CFontLinkDlg(CWnd* parent = nullptr);
    ~CFontLinkDlg() override;

protected:
    BOOL OnInitDialog() override;
    const MessageMap& GetMessageMap() const override;

private:
    void BuildFontList();
    void LocateListBox();
    void FillFontListBox();

    void OnSysCommand(UINT id, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnDrawItem(int controlId, DRAWITEMSTRUCT* item);
    void OnMeasureItem(int controlId, MEASUREITEMSTRUCT* item);
    void OnAbout();

    void PaintMinimized();

    static const MessageMapEntry messageEntries[];
    static const MessageMap messageMap;

    CListBox* m_pListBox = nullptr;  // belongs to the dialog's window
    RECT m_rcListBox{};              // the list's rectangle in client coordinates
    HICON m_hIcon;                   // a shared resource icon, never destroyed
};

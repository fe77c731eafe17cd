#include "app/AboutBox.h"

#include <ctime>

#include "app/AboutDate.h"
#include "resource.h"

CAboutBox::CAboutBox(const DialogContext& context) : CDialog(context, IDD_ABOUTBOX)
{
}

BOOL CAboutBox::OnInitDialog()
{
    CDialog::OnInitDialog();
    CenterWindow();
    GetDlgItem(IDC_DATE)->SetWindowText(FormatAboutDate(std::time(nullptr)));
    return TRUE;
}

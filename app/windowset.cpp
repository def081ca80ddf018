// TWindowSet: creating, installing and destroying the editor's windows.
#include "app/windowset.h"

#include "app/Form_Main.h"
#include "editor/commands.h"
#include "editor/windows.h"
#include "views/Form_Edit.h"
#include "views/Form_Info.h"
#include "views/Form_View.h"

#include <QMdiSubWindow>

namespace quarvel {

TWindowSet::TWindowSet() {
    Form1 = new TForm1;
    Form4 = new TForm4(Form1);
    Form2 = new TForm2(Form1->MdiArea());
    Form3 = new TForm3(Form1->MdiArea());
    Form1->SetPanels(Form4, Form2);
    Windows.Main = Form1;
    Windows.Messages = Form1;
    Windows.Info = Form4;
    Windows.Edit = Form2;
    Windows.Whole = Form3;
    TForm1* frame = Form1;
    ArchiveProgress = [frame](size_t done, size_t total) { frame->ShowProgress(done, total); };
}

void TWindowSet::Show() {
    Form1->show();
    Form4->show();
}

TWindowSet::~TWindowSet() {
    ArchiveProgress = nullptr;
    delete Form3->SubWindow(); // the MDI child takes its view with it
    Windows.Whole = nullptr;
    delete Form2->SubWindow();
    Windows.Edit = nullptr;
    Form1->SetPanels(nullptr, nullptr);
    delete Form4;
    Windows.Info = nullptr;
    delete Form1; // StopEditor
    Windows = EditorWindows{};
}

} // namespace quarvel

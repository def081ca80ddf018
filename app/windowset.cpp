// TWindowSet: creating, installing and destroying the editor's windows.
#include "app/windowset.h"

#include "app/Form_Main.h"
#include "editor/commands.h"
#include "editor/global.h"
#include "editor/windows.h"
#include "views/Form_Edit.h"
#include "views/Form_Info.h"
#include "views/Form_View.h"
#include "views/problemspanel.h"

#include <QMdiSubWindow>

namespace quarvel {

TWindowSet::TWindowSet(TEditorState& state) : State(state) {
    Form1 = new TForm1(State);
    Form4 = new TForm4(State, Form1);
    Form2 = new TForm2(State, Form1->MdiArea());
    Form3 = new TForm3(State, Form1->MdiArea());
    Problems = new TProblemsPanel(State, Form1);
    Form1->SetPanels(Form4, Form2);
    State.Windows.Main = Form1;
    State.Windows.Messages = Form1;
    State.Windows.Info = Form4;
    State.Windows.Edit = Form2;
    State.Windows.Whole = Form3;
    State.Windows.Problems = Problems;
    // The kept options before the editor starts, so that its first pictures show them.
    State.ViewStore = &Form1->ViewSettings();
    LoadViewOptions(State);
    TForm1* frame = Form1;
    State.ArchiveProgress = [frame](size_t done, size_t total) {
        frame->ShowProgress(done, total);
    };
}

void TWindowSet::Show() {
    Form1->show();
    Form4->show();
    if (State.View.Problems) Problems->ShowPanel(true);
}

TWindowSet::~TWindowSet() {
    State.ArchiveProgress = nullptr;
    State.ViewStore = nullptr;
    delete Form3->SubWindow(); // the MDI child takes its view with it
    State.Windows.Whole = nullptr;
    delete Form2->SubWindow();
    State.Windows.Edit = nullptr;
    delete Problems;
    State.Windows.Problems = nullptr;
    Form1->SetPanels(nullptr, nullptr);
    delete Form4;
    State.Windows.Info = nullptr;
    delete Form1; // StopEditor
    State.Windows = EditorWindows{};
}

} // namespace quarvel

// TForm7: the move dialog's caption and OK.
#include "views/Unit7.h"

#include "editor/global.h"
#include "editor/selectionmove.h"
#include "editor/windows.h"
#include "views/application.h"

#include <QLineEdit>

namespace quarvel {

TForm7::TForm7(TEditorState& state, QWidget* owner) : TForm5(state, owner) {
    setObjectName("Form7");
    setWindowTitle(QString::fromUtf8("選択範囲を移動"));
}

void TForm7::Button1Click() {
    int result = mrNone;
    // An offset that is not an integer is shown like the shift dialog shows it.
    if (RunGuarded([&] {
            result = MoveDialogOk(State, Edit1->text().toStdString(), Edit2->text().toStdString(),
                                  Edit3->text().toStdString());
        }) &&
        result != mrNone)
        done(result);
}

} // namespace quarvel

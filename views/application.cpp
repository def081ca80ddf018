// TApplication: error boxes for errors that end a command.
#include "views/application.h"

#include "editor/errortext.h"
#include "editor/global.h"
#include "editor/infopanel.h"
#include "editor/windows.h"
#include "views/translations.h"

#include <QDirIterator>
#include <QFont>
#include <QIcon>
#include <QMessageBox>
#include <exception>

namespace quarvel {

namespace {
constexpr const char* UnknownError = QT_TRANSLATE_NOOP("Application", "不明なエラーです");
}

// The application name stays the program file's name: the single-copy lock compares it with
// the name of the process that holds the lock. Every window and dialog uses one UI font,
// IPAPGothic at 12 pixels (standing in for "ＭＳ Ｐゴシック"), shows Qt's own texts in
// Japanese like the rest of the editor until the program chooses its language
// (InstallTextLanguage), and shows the program's icon.
TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
    QFont font("IPAPGothic");
    font.setPixelSize(12);
    setFont(font);
    InstallTextLanguage(*this, TextLanguage::Japanese);
    setWindowIcon(ApplicationIcon());
}

QIcon ApplicationIcon() {
    QIcon icon;
    QDirIterator it(":/icons", {"quarvel-*.png"});
    while (it.hasNext()) icon.addFile(it.next());
    return icon;
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ShowError(ShownErrorText(e));
    } catch (...) {
        ShowError(QCoreApplication::translate("Application", UnknownError).toStdString());
    }
    return false;
}

void ShowError(const std::string& text) {
    static bool showing = false; // an error inside the error box itself is not shown again
    if (showing) return;
    showing = true;
    auto* app = dynamic_cast<TApplication*>(QCoreApplication::instance());
    IMessages* messages = app && app->GetEditor() ? app->GetEditor()->Windows.Messages : nullptr;
    if (messages) {
        try {
            messages->Show(text, ApplicationTitle, MsgButtons::Ok);
        } catch (...) {
        }
    } else {
        QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(ApplicationTitle),
                        QString::fromUtf8(text.c_str()), QMessageBox::Ok);
        box.exec();
    }
    showing = false;
}

bool RunGuarded(const std::function<void()>& fn) {
    try {
        fn();
        return true;
    } catch (const std::exception& e) {
        ShowError(ShownErrorText(e));
    } catch (...) {
        ShowError(QCoreApplication::translate("Application", UnknownError).toStdString());
    }
    return false;
}

} // namespace quarvel

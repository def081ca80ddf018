// The application object: the program's icon on every window and dialog.
#include "app/Form_Main.h"
#include "tests/gui/guitestutil.h"
#include "views/Form_Edit.h"
#include "views/Form_Info.h"
#include "views/Form_View.h"
#include "views/Unit5.h"
#include "views/Unit6.h"
#include "views/application.h"

#include <QFileDialog>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QtTest>

using namespace quarvel;
using namespace quarvel::test;

class ApplicationTest : public QObject {
    Q_OBJECT
private slots:
    void iconHasEverySize();
    void everyWindowShowsTheIcon();
};

namespace {

// True when `icon` draws the program's own picture at each size (compared premultiplied,
// as a pixmap keeps it).
bool IsProgramIcon(const QIcon& icon) {
    for (int size : {16, 32, 48, 256}) {
        const QImage want = QImage(QString(":/icons/quarvel-%1.png").arg(size))
                                .convertToFormat(QImage::Format_ARGB32_Premultiplied);
        if (want.isNull()) return false;
        const QImage got =
            icon.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
        if (got != want) return false;
    }
    return true;
}

} // namespace

void ApplicationTest::iconHasEverySize() {
    const QList<QSize> sizes = ApplicationIcon().availableSizes();
    for (int n : {16, 22, 24, 32, 48, 64, 128, 256})
        QVERIFY2(sizes.contains(QSize(n, n)), qPrintable(QString::number(n)));
    QCOMPARE(sizes.size(), 8);
    QVERIFY(IsProgramIcon(QApplication::windowIcon()));
}

void ApplicationTest::everyWindowShowsTheIcon() {
    TEditor e;
    TForm5 shift(e.State, e.Set->Form1);
    TForm6 swap(e.State, e.Set->Form1);
    QMessageBox box(QMessageBox::NoIcon, "Quarvel", "text", QMessageBox::Ok, e.Set->Form1);
    QFileDialog files(e.Set->Form1);
    const std::pair<const char*, QWidget*> windows[] = {
        {"frame", e.Set->Form1},
        {"info panel", e.Set->Form4},
        {"edit view", e.Set->Form2},
        {"edit view window", e.Set->Form2->SubWindow()},
        {"whole-map view", e.Set->Form3},
        {"whole-map view window", e.Set->Form3->SubWindow()},
        {"shift dialog", &shift},
        {"swap dialog", &swap},
        {"message box", &box},
        {"file dialog", &files},
    };
    for (const auto& [name, w] : windows) QVERIFY2(IsProgramIcon(w->windowIcon()), name);
}

QUARVEL_GUI_TEST_MAIN(ApplicationTest)
#include "application_test.moc"

// Helpers of the editor's Qt tests: a program folder with chip files, scripted message boxes,
// the running editor around them, and mouse events with buttons and keys.
#pragma once

#include "app/windowset.h"
#include "editor/global.h"
#include "editor/windows.h"
#include "views/application.h"

#include <QEvent>
#include <QPoint>
#include <QSettings>
#include <QTemporaryDir>
#include <deque>
#include <memory>
#include <string>
#include <vector>

class QWidget;

namespace quarvel::test {

// A program folder with chip/, map/ and dat/. Chip files of terrain set `set` hold for each
// chip k > 0 the index ChipIndex(set, k) everywhere except its transparent top-left corner
// pixel; palette index n of set s has the colour PaletteColor(s, n).
class TProgramFolder {
public:
    TProgramFolder();
    std::string Path() const; // with a trailing '/'
    void WriteChips(int set);
    static uint8_t ChipIndex(int set, int chip) { return uint8_t(1 + (chip * 7 + set * 13) % 250); }
    static uint32_t PaletteColor(int set, int n); // 0xRRGGBB

private:
    QTemporaryDir Dir;
};

// Message boxes that record what they show and answer from a queue (mrOk for OK boxes, the
// queue or mrCancel for Yes/No/Cancel).
class TScriptedMessages : public IMessages {
public:
    struct Shown {
        std::string Text, Caption;
    };
    int Show(const std::string& text, const std::string& caption, MsgButtons buttons) override;
    std::vector<Shown> Log;
    std::deque<int> Answers;
};

// The editor as the program runs it: a fresh editor state, the application's editor, with
// the four windows over a program folder with the chips of terrain set 0, message boxes
// scripted, StartEditor done.
class TEditor {
public:
    explicit TEditor(bool withChips = true);
    ~TEditor();
    TProgramFolder Folder;
    TScriptedMessages Messages;
    TEditorState State;
    std::unique_ptr<TWindowSet> Set;
};

// The editor program of this build (in its program folder).
const char* EditorPath();

// Sends a mouse event with the given buttons held and keys down.
void SendMouse(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButton button,
               Qt::MouseButtons buttons, Qt::KeyboardModifiers keys = Qt::NoModifier);
// Press (and move while held) at each point in turn, then release.
void Drag(QWidget* w, const std::vector<QPoint>& points, Qt::MouseButton button,
          Qt::KeyboardModifiers keys = Qt::NoModifier);
// The centre of cell (x, y)'s top face in the edit view at `zoom`.
QPoint EditCellCentre(int x, int y, int zoom = 0);

} // namespace quarvel::test

// A Qt Test main that runs the tests under the editor's own application object, with the
// user's settings in a folder of the test's own (a test may point them elsewhere).
#define QUARVEL_GUI_TEST_MAIN(TestClass)                                                           \
    int main(int argc, char** argv) {                                                              \
        quarvel::TApplication app(argc, argv);                                                     \
        QTemporaryDir settings;                                                                    \
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());           \
        TestClass test;                                                                            \
        return QTest::qExec(&test, argc, argv);                                                    \
    }

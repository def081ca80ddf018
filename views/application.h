// TApplication: the editor's application object. An error that a command does not handle
// ends that command; its text is shown in a box titled with the application title and the
// program goes on.
#pragma once

#include <QApplication>
#include <QIcon>
#include <functional>
#include <string>

namespace quarvel {

class TEditorState;

class TApplication : public QApplication {
public:
    TApplication(int& argc, char** argv);
    // Catches what an event handler let through and shows it.
    bool notify(QObject* receiver, QEvent* event) override;

    // The editor whose message boxes show errors; null shows a plain box.
    void SetEditor(TEditorState* state) { Editor = state; }
    TEditorState* GetEditor() const { return Editor; }

private:
    TEditorState* Editor = nullptr;
};

// The program's icon, with every size it is drawn in.
QIcon ApplicationIcon();

// Shows an error text (UTF-8) in a box titled "Quarvel", through the message boxes of the
// application's editor when they are set.
void ShowError(const std::string& text);

// Runs `fn`; an exception ends it and is shown with ShowError. True when `fn` returned.
bool RunGuarded(const std::function<void()>& fn);

} // namespace quarvel

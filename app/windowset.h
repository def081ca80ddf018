// TWindowSet: the windows of an editor state, created in the order main frame, info panel,
// edit view, whole-map view, problems panel, installed as its windows, and destroyed the other
// way round.
#pragma once

namespace quarvel {

class TEditorState;

class TForm1;
class TForm2;
class TForm3;
class TForm4;
class TProblemsPanel;

class TWindowSet {
public:
    explicit TWindowSet(TEditorState& state);
    // Whole-map view, edit view, info panel, then the main frame, whose end frees the
    // editor state (StopEditor).
    ~TWindowSet();
    TWindowSet(const TWindowSet&) = delete;
    TWindowSet& operator=(const TWindowSet&) = delete;

    // Shows the main frame and the info panel, and the problems panel when the user keeps it
    // shown; the views show inside the frame.
    void Show();

    TEditorState& State; // the editor these windows show
    TForm1* Form1 = nullptr;
    TForm4* Form4 = nullptr;
    TForm2* Form2 = nullptr;
    TForm3* Form3 = nullptr;
    TProblemsPanel* Problems = nullptr; // 問題, shown from the 表示 menu
};

} // namespace quarvel

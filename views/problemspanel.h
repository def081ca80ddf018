// TProblemsPanel: the problems panel "問題", a tool window listing the map checker's findings
// for the open map, shown from the 表示 menu. The list follows every change of the map: after
// each round of events it is brought up to the map (TProblemList, which rechecks only the
// cells around what changed). Double-click or Enter on a finding goes to its cell.
#pragma once

#include "editor/problems.h"
#include "editor/windows.h"

#include <QAbstractListModel>
#include <QWidget>

class QTableView;

namespace quarvel {

class TEditorState;

// The findings as rows of text; Apply tells the view which rows changed.
class TProblemsModel : public QAbstractListModel {
public:
    TProblemsModel(const TProblemList& list, QObject* parent);
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    void Apply(const ProblemChange& change);

private:
    const TProblemList& List;
    int Rows = 0; // the rows the view knows of, while the splices are applied
};

class TProblemsPanel : public QWidget, public IProblemsPanel {
public:
    TProblemsPanel(TEditorState& state, QWidget* owner);

    void ShowPanel(bool shown) override;
    // Brings the list and the title up to the map.
    void Refresh();
    const TProblemList& Problems() const { return List; }

    QTableView* ListView1 = nullptr; // one column, a row per finding

protected:
    void closeEvent(QCloseEvent* e) override;
    void showEvent(QShowEvent* e) override;
    // The list's keys: Enter goes to the finding; the arrows and page keys move in the list
    // instead of running the menu's commands.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TEditorState& State;
    TProblemList List;
    TProblemsModel* Model = nullptr;
    bool Placed = false;
    void GoTo(int row);
};

} // namespace quarvel

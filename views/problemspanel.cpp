// TProblemsPanel: the list of findings, its keys, and its place beside the info panel.
#include "views/problemspanel.h"

#include "editor/global.h"
#include "views/application.h"

#include <QAbstractEventDispatcher>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScreen>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>

namespace quarvel {

TProblemsModel::TProblemsModel(const TProblemList& list, QObject* parent)
    : QAbstractListModel(parent), List(list) {}

int TProblemsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Rows;
}

QVariant TProblemsModel::data(const QModelIndex& index, int role) const {
    const auto& findings = List.Findings();
    // The tip shows the whole text of a row too long for the panel.
    if ((role != Qt::DisplayRole && role != Qt::ToolTipRole) || !index.isValid() ||
        size_t(index.row()) >= findings.size())
        return QVariant();
    return QString::fromStdString(ProblemText(findings[size_t(index.row())]));
}

void TProblemsModel::Apply(const ProblemChange& change) {
    if (change.Reset) {
        beginResetModel();
        Rows = int(List.Findings().size());
        endResetModel();
        return;
    }
    for (const ProblemSplice& s : change.Splices) {
        // Rows replaced one for one stay rows (a selected one stays selected).
        const int same = std::min(s.Removed, s.Inserted);
        if (same > 0) emit dataChanged(index(s.Row), index(s.Row + same - 1));
        if (s.Removed > same) {
            beginRemoveRows(QModelIndex(), s.Row + same, s.Row + s.Removed - 1);
            Rows -= s.Removed - same;
            endRemoveRows();
        }
        if (s.Inserted > same) {
            beginInsertRows(QModelIndex(), s.Row + same, s.Row + s.Inserted - 1);
            Rows += s.Inserted - same;
            endInsertRows();
        }
    }
}

TProblemsPanel::TProblemsPanel(TEditorState& state, QWidget* owner)
    : QWidget(owner, Qt::Tool), State(state) {
    setObjectName("ProblemsPanel");
    setWindowTitle(QString::fromStdString(ProblemsCaption(0)));
    resize(420, 220);
    // A table of one column: its rows all of one height, so that inserted and removed rows
    // cost nothing for the rows around them, even among tens of thousands.
    ListView1 = new QTableView(this);
    ListView1->setObjectName("ListView1");
    ListView1->horizontalHeader()->hide();
    ListView1->horizontalHeader()->setStretchLastSection(true);
    ListView1->verticalHeader()->hide();
    ListView1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    ListView1->verticalHeader()->setDefaultSectionSize(ListView1->fontMetrics().height() + 4);
    ListView1->setShowGrid(false);
    ListView1->setWordWrap(false);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    Model = new TProblemsModel(List, this);
    ListView1->setModel(Model);
    ListView1->installEventFilter(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(ListView1);
    connect(ListView1, &QTableView::doubleClicked, this,
            [this](const QModelIndex& index) { GoTo(index.row()); });
    // After each round of events, whatever it changed: a command, an undo, a load, a script.
    if (auto* loop = QAbstractEventDispatcher::instance(thread()))
        connect(loop, &QAbstractEventDispatcher::aboutToBlock, this, [this] {
            if (isVisible()) Refresh();
        });
}

void TProblemsPanel::ShowPanel(bool shown) {
    if (!shown) {
        hide();
        return;
    }
    if (!Placed) {
        // First in the bottom right corner of the frame's screen, below the info panel that
        // sits at the top beside the edit view (wherever the frame is placed meanwhile).
        Placed = true;
        QWidget* frame = parentWidget() ? parentWidget() : this;
        if (QScreen* s = frame->screen()) {
            const QRect area = s->availableGeometry();
            const int title = style()->pixelMetric(QStyle::PM_TitleBarHeight);
            move(std::max(area.left(), area.right() - width()),
                 std::max(area.top(), area.bottom() - height() - title - 8));
        }
    }
    show();
    raise();
}

void TProblemsPanel::Refresh() {
    if (!State.TheMap) return;
    ProblemChange change;
    try {
        change = List.Update(*State.TheMap);
    } catch (const std::exception&) {
        // Out of memory: the list stays as it was shown and is checked anew next time.
        List.Forget();
        return;
    }
    if (!change.Any()) return;
    Model->Apply(change);
    setWindowTitle(QString::fromStdString(ProblemsCaption(List.Findings().size())));
}

void TProblemsPanel::GoTo(int row) {
    RunGuarded([this, row] { GoToProblem(State, List, row); });
}

void TProblemsPanel::closeEvent(QCloseEvent* e) {
    e->accept();
    RunGuarded([this] { ProblemsPanelClosed(State); });
}

void TProblemsPanel::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    Refresh();
}

bool TProblemsPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched != ListView1) return QWidget::eventFilter(watched, event);
    const auto type = event->type();
    if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const auto* keyEvent = static_cast<QKeyEvent*>(event);
    const int key = keyEvent->key();
    // With Shift or Ctrl, the keys stay the menu's (the level steps and moves that keep the
    // selection).
    if ((keyEvent->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return QWidget::eventFilter(watched, event);
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    const bool moves = key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp ||
                       key == Qt::Key_PageDown || key == Qt::Key_Home || key == Qt::Key_End;
    if (type == QEvent::ShortcutOverride && (enter || moves)) {
        event->accept(); // the list's key, not the menu's
        return true;
    }
    if (type == QEvent::KeyPress && enter) {
        GoTo(ListView1->currentIndex().row());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace quarvel

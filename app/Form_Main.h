// TForm1: the main frame "Quarvel": the MDI frame of the two map views, the menu of every
// command, the file and colour dialogs, the message boxes, and the save question on close.
#pragma once

#include "editor/commandsearch.h"
#include "editor/shortcuts.h"
#include "editor/viewoptions.h"
#include "editor/windows.h"

#include <QMainWindow>
#include <QMap>
#include <QMdiArea>
#include <memory>

class QAction;
class QMdiSubWindow;
class QMenu;
class QProgressDialog;

namespace quarvel {

class TEditorState;
class TForm4;
class TForm2;

// The 表示 menu's options in the user's settings (QSettings "quarvel", group "View"). A
// settings file that is no regular file or is too large is neither read nor written.
class TViewSettings : public IViewOptionsStore {
public:
    TViewOptions Load() override;
    void Save(ViewOption option, bool on) override;
};

class TForm1 : public QMainWindow, public IMainFrame, public IMessages {
public:
    explicit TForm1(TEditorState& state);
    ~TForm1() override;

    QMdiArea* MdiArea() const { return Area; }
    // The windows this frame arranges: the info panel and the edit view.
    void SetPanels(TForm4* info, TForm2* edit);

    // The menu items in menu order (titles, commands and separators), named NEW1, OPEN1, ...
    const QList<QAction*>& MenuItems() const { return Items; }
    // A menu item by name.
    QAction* MenuItem(const QString& name) const;
    // The command items that can run now, in menu order (what the command palette lists).
    QList<QAction*> EnabledCommands();
    bool TerminateRequested() const { return Terminating; }
    IViewOptionsStore& ViewSettings() { return ViewStore; }
    // Every command's keys: its own, or those the user gave it.
    const TShortcutTable& Shortcuts() const { return Keys; }

    // IMainFrame
    void SetCaption(const std::string& text) override;
    std::string RunOpenDialog() override;
    std::string RunSaveDialog() override;
    std::string RunSaveDialogAt(const std::string& name) override;
    bool RunColorDialog(TColor& color) override;
    int RunShiftDialog() override;
    int RunSwapDialog() override;
    bool RunMoveDialog(MoveOffsets& offsets) override;
    ReplaceAction RunReplaceDialog(ReplaceChoices& choices) override;
    void CloseFrame() override { close(); }
    void Maximize() override;
    void NextChild() override;
    void Cascade() override;
    void TileHorizontal() override;
    void TileVertical() override;
    void SetMenuChecked(int tag, bool checked) override;
    bool IsMenuChecked(int tag) const override;
    void PlaceInfoPanel() override;
    void Terminate() override;

    // IMessages
    int Show(const std::string& text, const std::string& caption, MsgButtons buttons) override;

    // Progress of a long archive build or unpack.
    void ShowProgress(size_t done, size_t total);

protected:
    void closeEvent(QCloseEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    // Keys typed into the info panel's name box are not menu short-cuts.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TEditorState& State;
    void BuildMenu();
    void AddMoveItems(QMenu* menu);
    // Greys out the items that cannot run now.
    void UpdateMenuItems();
    void EnableMoveKeys();
    void RunCommandPalette();
    // The commands' own keys, then the kept changes; the menu items get the keys.
    void LoadShortcuts();
    void ApplyShortcuts();
    void RunShortcutDialog();
    // The caption of a command as the palette and the key dialog show it.
    QString CommandCaption(QAction* item) const;
    void MenuTriggered(QAction* item);
    QAction* ItemByTag(int tag) const;
    std::string RunFileDialog(bool save, const std::string& at = {});
    void Tile(bool oneAboveTheOther);
    // The children to arrange, minimised ones restored first.
    QList<QMdiSubWindow*> ArrangedChildren(QMdiArea::WindowOrder order);
    void PlacePanelBesideEditView();

    QMdiArea* Area = nullptr;
    TForm4* Info = nullptr;
    TForm2* Edit = nullptr;
    QList<QAction*> Items;
    QMap<QString, QAction*> ItemsByName;
    std::unique_ptr<QProgressDialog> Progress;
    bool Terminating = false;
    TViewSettings ViewStore;
    TCommandHistory History; // the commands run in this session, for the command palette
    TShortcutTable Keys;
    // A window manager maximises the frame some time after it was asked to; until then the
    // info panel follows the edit view.
    bool PanelFollows = false;
    bool ScreenWatched = false;
    QMetaObject::Connection ScreenAreaWatch;
};

} // namespace quarvel

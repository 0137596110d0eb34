#pragma once

#include "rom/ActorTables.h"
#include "rom/Selection.h"
#include "rom/TileUsage.h"
#include "view/StripRenderer.h"
#include "view/TileSheetRenderer.h"

#include <QListWidget>
#include <QMessageBox>
#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

class CGlyphoxDoc;
class CPaletteCtrl;
class CPixelEditor;
class CPixelGrid;
class QAction;
class QSpinBox;

namespace Ui {
class GlyphoxView;
}

// The tile list of the form. It reports every left click, on an item or on empty space,
// and every key that moved its current item, after it has handled them itself.
class CTileList : public QListWidget
{
    Q_OBJECT

public:
    using QListWidget::QListWidget;

    // Runs now an item layout that waits for the event loop.
    void LayOutPendingItems() { executeDelayedItemsLayout(); }

signals:
    void Clicked(QPoint point);
    void MovedByKey(int row);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

// The main form: the tile list, the pixel editor, the palette control and the three frame
// strips of the current actor, with the actor, palette and bank choice and the animation. It
// shows the document's bytes and the selection, and forwards every change as an edit of the
// document, whose change notice it follows to refresh what shows the changed bytes.
class CGlyphoxView : public QWidget
{
    Q_OBJECT

public:
    explicit CGlyphoxView(CGlyphoxDoc* document, QWidget* parent = nullptr);
    ~CGlyphoxView() override; // writes the six settings

    // Reads the settings and fills and enables the form: after creation, after every
    // successful open and after File New.
    void OnInitialUpdate();
    bool IsRomLoaded() const { return m_bRomLoaded; }

    // With lHint 0 reloads the palette control, the pixel editor and the tile list.
    void OnUpdate(QObject* pSender, int lHint, QObject* pHint);
    void LoadCurrentTile();
    void RedrawStrips();

    const CSelection& Selection() const { return m_selection; }
    int ActorNumber() const { return m_selection.Actor(); }
    int PaletteNumber() const { return m_selection.Palette(); }
    int Tile() const { return m_selection.Tile(); }
    int AnimStep() const { return m_nAnimStep; }
    int AnimToggle() const { return m_nAnimToggle; }
    bool IsAnimating() const { return m_bAnimate; }
    bool IsBattlePal() const { return m_selection.IsBattle(); }
    bool IsAutoPal() const { return m_selection.IsAutoPalette(); }
    bool IsShowTileID() const { return m_bShowTileID; }
    int Mode() const { return m_nMode; }
    int ForeIndex() const { return m_nForeIndex; }
    int BackIndex() const { return m_nBackIndex; }

    // Connects the editing, mode, import and export actions (by command id) to the view's
    // handlers and keeps the mode actions' check marks; the frame calls it once.
    void ConnectCommands(const std::function<QAction*(int)>& action);

    // Undo and redo of the document's history, after bringing the view to the step's place.
    void OnEditUndo();
    void OnEditRedo();

    // Dialog seams, replaced by tests.
    std::function<void(QMessageBox::Icon icon, const QString& text)> m_fnMessageBox;
    std::function<QString(const QString& title, const QString& filter)>
        m_fnOpenFileDialog; // empty = cancelled
    // A file to write: the chosen name and, through selectedFilter, which of the filters.
    std::function<QString(const QString& title, const QString& filters, QString* selectedFilter)>
        m_fnSaveFileDialog; // empty = cancelled

signals:
    // Emitted at the end of every OnInitialUpdate: editing, import, export and Save follow it.
    void RomLoadedChanged(bool loaded);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void EnableControls(bool loaded);
    void ReadSettings();
    void WriteSettings() const;

    // Rendering
    void BuildTileList();
    void RedrawThumbnails(int firstTile, int lastTile);
    void OnImageChanged(qint64 offset, qint64 size);
    const std::uint8_t* TileWindow() const;
    void CurrentPalette(std::uint16_t words[16]) const;

    // Selection
    void ApplyTileSet();
    void ApplyPalette();
    void ApplyAutoPalette();
    void OnShowTileID();
    void OnAutoPal();
    void OnBattle();
    void OnOverworld();
    void OnClickTileList(QPoint point);
    void OnClickStrip(int strip, QPoint point);
    void SelectTile(int tile, bool reveal);
    void MarkTileInList(bool reveal);
    const CTileUsage& Usage();
    void OnTileSetSpin(int position);
    void OnPaletteSpin(int position);
    void SyncUpDown(QSpinBox* spin, const QString& text);
    int ReadPaletteEdit();
    void SetPaletteEdit(int palette);
    void ShowSelection();
    void ShowStepSite(const CEditSite& site);

    // Editing
    void SetDefaultDialogs();
    void OnEditCopy();
    void OnEditPaste();
    void OnEditFill();
    void OnEditEraseAll();
    void OnModePaint();
    void OnModeDropper();
    void OnModeFill();
    void SetMode(int mode);
    void OnShiftLeft();
    void OnShiftUp();
    void OnShiftRight();
    void OnShiftDown();
    void OnFlipHorizontal();
    void OnFlipVertical();
    void OnRotateCounterClockwise();
    void OnRotateClockwise();
    void ApplyTileOperation(void (CPixelGrid::*operation)(), const char* label);
    void ApplyTileBytes(const QByteArray& bytes, const QString& label);
    void WriteBackTile();
    void OnStrokeStarted();
    void OnStrokeEnded();
    void OnPixelPick(int button, int index);
    void OnPaletteSelect(int button, int index);
    void OnPaletteColorChange(int button, int index, std::uint16_t color);
    void OnExportTileSet();
    void OnImportTileSet();
    void OnExportPalette();
    void OnImportPalette();
    void OnExportPaletteAs();
    void OnExportTileSetImage();
    void OnImportTileSetImage();
    void OnExportPoses();
    void OnImportPaletteFrom();
    QByteArray CurrentTileBytes() const;

    // Animation
    void OnAnimate();
    void OnTimer();
    void OnAddFrame();
    void AdvanceStep();

    CGlyphoxDoc* m_pDocument;
    std::unique_ptr<Ui::GlyphoxView> m_ui;
    CTileList* m_listTiles;
    CPaletteCtrl* m_paletteCtrl;
    CPixelEditor* m_pixelEditor;
    CSelection m_selection;
    CTileUsage m_usage;
    std::array<std::uint8_t, 32> m_tileClipboard{};
    int m_nAnimStep = 0;
    bool m_bAnimate = false;
    int m_nAnimToggle = 0;
    int m_nForeIndex = 1;
    int m_nBackIndex = 0;
    bool m_bShowTileID = false;
    int m_nMode = 1;
    CTileSheetRenderer m_sheetRenderer;
    // The drawn sheet as the tile list's icons show it (CSheetTileIconEngine).
    std::shared_ptr<QPixmap> m_sheetPixmap = std::make_shared<QPixmap>();
    CStripRenderer m_stripRenderer;
    QTimer m_animTimer;
    bool m_bRomLoaded = false;
    // While OnInitialUpdate applies the settings, the reloads their steps ask for are
    // noted and run once at its end.
    bool m_bBatchUpdates = false;
    bool m_bUpdatePending = false;
    bool m_bStripsPending = false;
    // The three mode commands' actions, shared by the menu and the editing toolbar.
    std::array<QPointer<QAction>, 3> m_modeActions;
};

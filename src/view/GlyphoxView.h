#pragma once

#include "rom/ActorTables.h"
#include "view/StripRenderer.h"
#include "view/TileSheetRenderer.h"

#include <QListWidget>
#include <QTimer>
#include <QWidget>

#include <array>
#include <cstdint>
#include <memory>

class CGlyphoxDoc;
class CPaletteCtrl;
class CPixelEditor;
class QSpinBox;

namespace Ui {
class GlyphoxView;
}

// The tile list of the form. It reports every left click, on an item or on empty space,
// after it has handled the click itself.
class CTileList : public QListWidget
{
    Q_OBJECT

public:
    using QListWidget::QListWidget;

signals:
    void Clicked(QPoint point);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// The main form: the tile list, the pixel editor, the palette control and the three frame
// strips of the current actor, with the actor, palette and bank choice and the animation. It
// reads and writes sprite data only in the document's image buffer.
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

    int ActorNumber() const { return m_nTileSet; }
    int PaletteNumber() const { return m_nPalette; }
    int Tile() const { return m_nTile; }
    int AnimStep() const { return m_nAnimStep; }
    int AnimToggle() const { return m_nAnimToggle; }
    bool IsAnimating() const { return m_bAnimate; }
    bool IsBattlePal() const { return m_bBattlePal; }
    bool IsAutoPal() const { return m_bAutoPal; }
    bool IsShowTileID() const { return m_bShowTileID; }

signals:
    // Emitted at the end of every EnableControls: editing, import, export and Save follow it.
    void RomLoadedChanged(bool loaded);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void EnableControls(bool loaded);
    void ReadSettings();
    void WriteSettings() const;

    // Rendering
    void BuildTileList();
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
    void OnTileSetSpin(int position);
    void OnPaletteSpin(int position);
    void SyncUpDown(QSpinBox* spin, const QString& text);
    int ReadPaletteEdit();
    void SetPaletteEdit(int palette);

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
    int m_nTileSet = 0;
    std::array<std::uint8_t, 32> m_tileClipboard{};
    int m_nPalette = 0;
    int m_nTile = 0;
    int m_nAnimStep = 0;
    bool m_bAnimate = false;
    int m_nAnimToggle = 0;
    int m_nForeIndex = 1;
    int m_nBackIndex = 0;
    bool m_bShowTileID = false;
    bool m_bAutoPal = false;
    bool m_bBattlePal = true;
    int m_nMode = 1;
    CTileSheetRenderer m_sheetRenderer;
    CStripRenderer m_stripRenderer;
    QTimer m_animTimer;
    std::array<std::uint32_t, CActorTables::ACTOR_COUNT> m_dwTileSetOffset{};
    std::array<std::array<int, 2>, CActorTables::ACTOR_COUNT> m_nAutoPalette{};
    std::uint32_t m_dwPaletteBase = CActorTables::BATTLE_BANK;
    bool m_bRomLoaded = false;
};

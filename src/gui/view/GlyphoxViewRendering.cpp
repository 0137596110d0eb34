#include "GlyphoxView.h"

#include "color/PaletteCtrl.h"
#include "edit/PixelEditor.h"
#include "rom/GlyphoxDoc.h"
#include "rom/SnesFormat.h"
#include "ui_GlyphoxView.h"
#include "view/SheetTileIconEngine.h"

#include <QItemSelectionModel>
#include <QPainter>
#include <QListWidget>
#include <QPixmap>

void CGlyphoxView::OnUpdate(QObject* /*pSender*/, int lHint, QObject* /*pHint*/)
{
    if (lHint != 0)
        return;
    if (m_bBatchUpdates) {
        m_bUpdatePending = true;
        return;
    }
    std::uint16_t palette[PALETTE_COLORS];
    CurrentPalette(palette);
    m_paletteCtrl->ClearColors();
    m_paletteCtrl->SetColors(palette, PALETTE_COLORS);
    m_pixelEditor->SetGridSize(TILE_SIZE, TILE_SIZE, 16);
    m_pixelEditor->SetPalette(palette, PALETTE_COLORS);
    m_paletteCtrl->SetForeIndex(m_nForeIndex);
    m_paletteCtrl->SetBackIndex(m_nBackIndex);
    m_pixelEditor->SetPenColors(m_nForeIndex, m_nBackIndex);
    LoadCurrentTile();
    BuildTileList();
}

void CGlyphoxView::LoadCurrentTile()
{
    std::uint8_t pixels[TILE_PIXELS];
    DecodeTile(m_pDocument->Image() + m_selection.TileOffset(), pixels);
    for (int y = 0; y < TILE_SIZE; ++y) {
        for (int x = 0; x < TILE_SIZE; ++x)
            m_pixelEditor->SetPixel(x, y, pixels[y * TILE_SIZE + x]);
    }
}

void CGlyphoxView::BuildTileList()
{
    // The labels never change, so the items are made once and the scroll position stays.
    // Their icons show squares of the shared sheet, so a redraw needs no new icons.
    if (m_listTiles->count() != CActorTables::WINDOW_TILES) {
        m_listTiles->clear();
        constexpr int kThumb = CTileSheetRenderer::THUMBNAIL;
        for (int tile = 0; tile < CActorTables::WINDOW_TILES; ++tile) {
            auto* item = new QListWidgetItem(
                QString::number(tile, 16).toUpper().rightJustified(2, '0') + 'h');
            item->setIcon(QIcon(new CSheetTileIconEngine(m_sheetPixmap, tile, kThumb)));
            m_listTiles->addItem(item);
        }
    }
    RedrawThumbnails(0, CActorTables::WINDOW_TILES - 1);
    MarkTileInList(false);
}

void CGlyphoxView::RedrawThumbnails(int firstTile, int lastTile)
{
    std::uint16_t palette[PALETTE_COLORS];
    CurrentPalette(palette);
    m_sheetRenderer.Draw(TileWindow(), palette);
    const CTileUsage& usage = Usage();
    for (int tile = firstTile; tile <= lastTile; ++tile)
        if (!usage.IsUsed(tile))
            m_sheetRenderer.DimTile(tile);
    // The pixmap is a copy: the renderer's bytes change with the next redraw. A few
    // changed tiles (a pixel edit) are copied into it alone.
    const QImage sheet = m_sheetRenderer.Sheet().Image();
    const bool whole = firstTile == 0 && lastTile == CActorTables::WINDOW_TILES - 1;
    if (whole || m_sheetPixmap->isNull()) {
        *m_sheetPixmap = QPixmap::fromImage(sheet);
    } else {
        constexpr int kThumb = CTileSheetRenderer::THUMBNAIL;
        const QRect changed(firstTile * kThumb, 0, (lastTile - firstTile + 1) * kThumb, kThumb);
        QPainter painter(m_sheetPixmap.get());
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(changed.topLeft(), sheet, changed);
    }
    const QString unused = tr("Not used by this actor's poses");
    for (int tile = firstTile; tile <= lastTile; ++tile)
        m_listTiles->item(tile)->setToolTip(usage.IsUsed(tile) ? QString() : unused);
    // The icons draw the new sheet at their next paint.
    QWidget* viewport = m_listTiles->viewport();
    if (whole)
        viewport->update();
    else
        for (int tile = firstTile; tile <= lastTile; ++tile)
            viewport->update(m_listTiles->visualItemRect(m_listTiles->item(tile)));
}

// Everything that shows the changed bytes follows them: a change of the shown palette
// reloads the colours everywhere; a change inside the actor's window redraws the tiles it
// touched, the pixel editor if the current tile is one of them, and the strips.
void CGlyphoxView::OnImageChanged(qint64 offset, qint64 size)
{
    if (!m_bRomLoaded || m_listTiles->count() != CActorTables::WINDOW_TILES)
        return;
    const qint64 end = offset + size;
    const qint64 palette = m_selection.PaletteOffset();
    if (offset < palette + PALETTE_BYTES && end > palette) {
        OnUpdate(nullptr, 0, nullptr);
        RedrawStrips();
        return;
    }
    const qint64 window = m_selection.WindowOffset();
    if (offset >= window + CActorTables::WINDOW_BYTES || end <= window)
        return;
    const int first = int(qMax<qint64>(0, offset - window) / TILE_BYTES);
    const int last = int(qMin<qint64>(CActorTables::WINDOW_BYTES, end - window) - 1) / TILE_BYTES;
    RedrawThumbnails(first, last);
    if (m_selection.Tile() >= first && m_selection.Tile() <= last)
        LoadCurrentTile();
    RedrawStrips();
}

void CGlyphoxView::RedrawStrips()
{
    if (m_bBatchUpdates) {
        m_bStripsPending = true;
        return;
    }
    std::uint16_t palette[PALETTE_COLORS];
    CurrentPalette(palette);
    const QColor shown = QWidget::palette().color(QPalette::Highlight);
    const ScreenColor highlight{std::uint8_t(shown.red()), std::uint8_t(shown.green()),
                                std::uint8_t(shown.blue())};
    QLabel* const labels[CActorTables::STRIP_COUNT] = {m_ui->labelStrip1, m_ui->labelStrip2,
                                                       m_ui->labelStrip3};
    for (int strip = 0; strip < CActorTables::STRIP_COUNT; ++strip) {
        const int step = strip == 1 ? m_nAnimToggle : m_nAnimStep;
        const int variant = CActorTables::StripVariantForStep(strip, step);
        const CPixelBuffer& buffer =
            m_stripRenderer.DrawStrip(strip, variant, TileWindow(), palette, m_bShowTileID);
        for (const CTileUsage::Cell& cell : Usage().CellsOf(m_selection.Tile()))
            if (cell.strip == strip && cell.ShowsAt(step))
                m_stripRenderer.OutlineCell(strip, cell.column, cell.row, highlight);
        labels[strip]->setPixmap(QPixmap::fromImage(buffer.Image().copy()));
    }
}

// The poses' use of the tiles is worked out once per actor.
const CTileUsage& CGlyphoxView::Usage()
{
    if (m_usage.Actor() != m_selection.Actor())
        m_usage = CTileUsage(m_selection.Actor());
    return m_usage;
}

const std::uint8_t* CGlyphoxView::TileWindow() const
{
    return m_pDocument->Image() + m_selection.WindowOffset();
}

void CGlyphoxView::CurrentPalette(std::uint16_t words[16]) const
{
    ReadPalette(m_pDocument->Image() + m_selection.PaletteOffset(), words);
}

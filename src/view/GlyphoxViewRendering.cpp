#include "GlyphoxView.h"

#include "color/PaletteCtrl.h"
#include "edit/PixelEditor.h"
#include "rom/GlyphoxDoc.h"
#include "rom/SnesFormat.h"
#include "ui_GlyphoxView.h"

#include <QItemSelectionModel>
#include <QListWidget>
#include <QPixmap>

void CGlyphoxView::OnUpdate(QObject* /*pSender*/, int lHint, QObject* /*pHint*/)
{
    if (lHint != 0)
        return;
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
    DecodeTile(TileWindow() + TILE_BYTES * m_nTile, pixels);
    for (int y = 0; y < TILE_SIZE; ++y) {
        for (int x = 0; x < TILE_SIZE; ++x)
            m_pixelEditor->SetPixel(x, y, pixels[y * TILE_SIZE + x]);
    }
}

void CGlyphoxView::BuildTileList()
{
    // The labels never change, so the items are made once and the scroll position stays.
    if (m_listTiles->count() != CActorTables::WINDOW_TILES) {
        m_listTiles->clear();
        for (int tile = 0; tile < CActorTables::WINDOW_TILES; ++tile)
            m_listTiles->addItem(QString::number(tile, 16).toUpper().rightJustified(2, '0') + 'h');
    }
    std::uint16_t palette[PALETTE_COLORS];
    CurrentPalette(palette);
    // Images over a renderer's bytes are copied before they become pixmaps, which would
    // otherwise keep pointing at bytes the next redraw changes.
    const QImage sheet = m_sheetRenderer.Draw(TileWindow(), palette).Image();
    constexpr int kThumb = CTileSheetRenderer::THUMBNAIL;
    for (int tile = 0; tile < CActorTables::WINDOW_TILES; ++tile)
        m_listTiles->item(tile)->setIcon(
            QIcon(QPixmap::fromImage(sheet.copy(tile * kThumb, 0, kThumb, kThumb))));

    // Selected without becoming current, so the list does not scroll to it.
    const QModelIndex current = m_listTiles->model()->index(m_nTile, 0);
    m_listTiles->selectionModel()->select(current, QItemSelectionModel::ClearAndSelect);
}

void CGlyphoxView::RedrawStrips()
{
    std::uint16_t palette[PALETTE_COLORS];
    CurrentPalette(palette);
    QLabel* const labels[CActorTables::STRIP_COUNT] = {m_ui->labelStrip1, m_ui->labelStrip2,
                                                       m_ui->labelStrip3};
    for (int strip = 0; strip < CActorTables::STRIP_COUNT; ++strip) {
        const int step = strip == 1 ? m_nAnimToggle : m_nAnimStep;
        const int variant = CActorTables::StripVariantForStep(strip, step);
        const CPixelBuffer& buffer =
            m_stripRenderer.DrawStrip(strip, variant, TileWindow(), palette, m_bShowTileID);
        labels[strip]->setPixmap(QPixmap::fromImage(buffer.Image().copy()));
    }
}

const std::uint8_t* CGlyphoxView::TileWindow() const
{
    return m_pDocument->m_pImage.get() + m_dwTileSetOffset[m_nTileSet];
}

void CGlyphoxView::CurrentPalette(std::uint16_t words[16]) const
{
    ReadPalette(m_pDocument->m_pImage.get() + m_dwPaletteBase + PALETTE_BYTES * m_nPalette, words);
}

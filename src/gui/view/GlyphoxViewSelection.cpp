#include "GlyphoxView.h"

#include "rom/SnesFormat.h"
#include "ui_GlyphoxView.h"

#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalBlocker>

namespace {

// The edit's text as a signed integer; text that is not a number reads 0.
int ReadEdit(const QLineEdit* edit)
{
    return edit->text().trimmed().toInt();
}

} // namespace

void CGlyphoxView::ApplyTileSet()
{
    m_selection.SetActor(ReadEdit(m_ui->editTileSet));
    m_ui->editTileSet->setText(QString::number(m_selection.Actor()));
    {
        const QSignalBlocker blocker(m_ui->spinTileSet);
        m_ui->spinTileSet->setValue(m_selection.Actor());
    }
    ApplyAutoPalette();
    m_selection.SetPalette(ReadPaletteEdit());
    OnUpdate(nullptr, 0, nullptr);
    RedrawStrips();
}

void CGlyphoxView::ApplyPalette()
{
    m_selection.SetPalette(ReadPaletteEdit());
    OnUpdate(nullptr, 0, nullptr);
    // While animating, the next tick redraws the strips.
    if (!m_bAnimate)
        RedrawStrips();
}

void CGlyphoxView::ApplyAutoPalette()
{
    if (m_selection.IsAutoPalette())
        SetPaletteEdit(m_selection.Palette());
}

void CGlyphoxView::OnShowTileID()
{
    m_bShowTileID = m_ui->checkShowTileID->isChecked();
    RedrawStrips();
}

void CGlyphoxView::OnAutoPal()
{
    m_selection.SetAutoPalette(m_ui->checkAuto->isChecked());
    ApplyAutoPalette();
    m_ui->editPalette->setEnabled(!m_selection.IsAutoPalette());
    m_ui->spinPalette->setEnabled(!m_selection.IsAutoPalette());
    m_selection.SetPalette(ReadPaletteEdit());
    OnUpdate(nullptr, 0, nullptr);
    RedrawStrips();
}

void CGlyphoxView::OnBattle()
{
    m_ui->radioBattle->setChecked(true);
    m_ui->radioOverworld->setChecked(false);
    m_selection.SetBattle(true);
    ApplyAutoPalette();
    ApplyPalette();
}

void CGlyphoxView::OnOverworld()
{
    m_ui->radioBattle->setChecked(false);
    m_ui->radioOverworld->setChecked(true);
    m_selection.SetBattle(false);
    ApplyAutoPalette();
    ApplyPalette();
}

void CGlyphoxView::OnClickTileList(QPoint point)
{
    // A click on empty space keeps the current tile selected.
    const QModelIndex hit = m_listTiles->indexAt(point);
    SelectTile(hit.isValid() ? hit.row() : m_selection.Tile(), false);
}

// A click on a strip cell chooses the tile it shows at the shown step; empty cells and
// the frame around the picture choose nothing.
void CGlyphoxView::OnClickStrip(int strip, QPoint point)
{
    const CActorTables::StripMap& map = CActorTables::Strip(strip);
    constexpr int kCell = TILE_SIZE * CStripRenderer::MAGNIFICATION;
    if (point.x() < 0 || point.y() < 0 || point.x() >= map.width * kCell ||
        point.y() >= CActorTables::STRIP_ROWS * kCell)
        return;
    const int step = strip == 1 ? m_nAnimToggle : m_nAnimStep;
    const std::int16_t entry = map.Entry(CActorTables::StripVariantForStep(strip, step),
                                         point.y() / kCell * map.width + point.x() / kCell);
    if (entry != CActorTables::EMPTY_CELL)
        SelectTile(entry & 0xFF, true);
}

// Loads the tile into the pixel editor, marks it in the list and outlines its cells.
void CGlyphoxView::SelectTile(int tile, bool reveal)
{
    m_selection.SetTile(tile);
    MarkTileInList(reveal);
    LoadCurrentTile();
    RedrawStrips();
}

// The tile becomes the list's current item too, so the arrow keys move on from it; the
// list scrolls to it only when asked.
void CGlyphoxView::MarkTileInList(bool reveal)
{
    const QModelIndex index = m_listTiles->model()->index(m_selection.Tile(), 0);
    const bool autoScroll = m_listTiles->hasAutoScroll();
    m_listTiles->setAutoScroll(reveal);
    m_listTiles->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    m_listTiles->setAutoScroll(autoScroll);
    if (reveal)
        m_listTiles->scrollTo(index);
}

void CGlyphoxView::OnTileSetSpin(int position)
{
    m_ui->editTileSet->setText(QString::number(position));
    ApplyTileSet();
}

void CGlyphoxView::OnPaletteSpin(int position)
{
    m_ui->editPalette->setText(QString::number(position));
    ApplyPalette();
}

// The up-down steps from the number typed in its edit, as a buddy control does.
void CGlyphoxView::SyncUpDown(QSpinBox* spin, const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (ok && value >= spin->minimum() && value <= spin->maximum()) {
        const QSignalBlocker blocker(spin);
        spin->setValue(value);
    }
}

int CGlyphoxView::ReadPaletteEdit()
{
    const int palette =
        CSelection::Wrap(ReadEdit(m_ui->editPalette), CActorTables::PALETTE_COUNT - 1);
    SetPaletteEdit(palette);
    return palette;
}

void CGlyphoxView::SetPaletteEdit(int palette)
{
    m_ui->editPalette->setText(QString::number(palette));
    const QSignalBlocker blocker(m_ui->spinPalette);
    m_ui->spinPalette->setValue(palette);
}

// After the selection moved by itself (to show an undone step), the controls follow it.
void CGlyphoxView::ShowSelection()
{
    m_ui->editTileSet->setText(QString::number(m_selection.Actor()));
    {
        const QSignalBlocker blocker(m_ui->spinTileSet);
        m_ui->spinTileSet->setValue(m_selection.Actor());
    }
    m_ui->checkAuto->setChecked(m_selection.IsAutoPalette());
    m_ui->editPalette->setEnabled(!m_selection.IsAutoPalette());
    m_ui->spinPalette->setEnabled(!m_selection.IsAutoPalette());
    SetPaletteEdit(m_selection.Palette());
    m_ui->radioBattle->setChecked(m_selection.IsBattle());
    m_ui->radioOverworld->setChecked(!m_selection.IsBattle());
    OnUpdate(nullptr, 0, nullptr);
    RedrawStrips();
}

void CTileList::mouseReleaseEvent(QMouseEvent* event)
{
    QListWidget::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        emit Clicked(event->position().toPoint());
}

void CTileList::keyPressEvent(QKeyEvent* event)
{
    const int before = currentRow();
    QListWidget::keyPressEvent(event);
    if (currentRow() != before && currentRow() >= 0)
        emit MovedByKey(currentRow());
}

bool CGlyphoxView::eventFilter(QObject* watched, QEvent* event)
{
    const QLabel* strips[CActorTables::STRIP_COUNT] = {m_ui->labelStrip1, m_ui->labelStrip2,
                                                       m_ui->labelStrip3};
    const auto* mouse = event->type() == QEvent::MouseButtonPress
                            ? static_cast<const QMouseEvent*>(event)
                            : nullptr;
    for (int strip = 0; mouse && strip < CActorTables::STRIP_COUNT; ++strip) {
        if (watched == strips[strip] && mouse->button() == Qt::LeftButton && m_bRomLoaded) {
            OnClickStrip(strip,
                         mouse->position().toPoint() - strips[strip]->contentsRect().topLeft());
            return true;
        }
    }
    QSpinBox* spin = watched == m_ui->editTileSet   ? m_ui->spinTileSet
                     : watched == m_ui->editPalette ? m_ui->spinPalette
                                                    : nullptr;
    if (spin && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (spin == m_ui->spinTileSet)
                ApplyTileSet();
            else
                ApplyPalette();
        } else if (key == Qt::Key_Up || key == Qt::Key_Down) {
            spin->stepBy(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

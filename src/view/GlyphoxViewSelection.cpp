#include "GlyphoxView.h"

#include "ui_GlyphoxView.h"

#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalBlocker>

namespace {

// Typed numbers outside 0..last wrap: above to 0, below to last.
int Wrap(int value, int last)
{
    return value > last ? 0 : value < 0 ? last : value;
}

// The edit's text as a signed integer; text that is not a number reads 0.
int ReadEdit(const QLineEdit* edit)
{
    return edit->text().trimmed().toInt();
}

} // namespace

void CGlyphoxView::ApplyTileSet()
{
    m_nTileSet = Wrap(ReadEdit(m_ui->editTileSet), CActorTables::ACTOR_COUNT - 1);
    m_ui->editTileSet->setText(QString::number(m_nTileSet));
    {
        const QSignalBlocker blocker(m_ui->spinTileSet);
        m_ui->spinTileSet->setValue(m_nTileSet);
    }
    if (m_bAutoPal)
        ApplyAutoPalette();
    m_nPalette = ReadPaletteEdit();
    OnUpdate(nullptr, 0, nullptr);
    RedrawStrips();
}

void CGlyphoxView::ApplyPalette()
{
    m_nPalette = ReadPaletteEdit();
    OnUpdate(nullptr, 0, nullptr);
    // While animating, the next tick redraws the strips.
    if (!m_bAnimate)
        RedrawStrips();
}

void CGlyphoxView::ApplyAutoPalette()
{
    if (m_bAutoPal)
        SetPaletteEdit(m_nAutoPalette[m_nTileSet][m_bBattlePal ? 1 : 0]);
}

void CGlyphoxView::OnShowTileID()
{
    m_bShowTileID = m_ui->checkShowTileID->isChecked();
    RedrawStrips();
}

void CGlyphoxView::OnAutoPal()
{
    m_bAutoPal = m_ui->checkAuto->isChecked();
    if (m_bAutoPal)
        ApplyAutoPalette();
    m_ui->editPalette->setEnabled(!m_bAutoPal);
    m_ui->spinPalette->setEnabled(!m_bAutoPal);
    m_nPalette = ReadPaletteEdit();
    OnUpdate(nullptr, 0, nullptr);
    RedrawStrips();
}

void CGlyphoxView::OnBattle()
{
    m_ui->radioBattle->setChecked(true);
    m_ui->radioOverworld->setChecked(false);
    m_dwPaletteBase = CActorTables::BATTLE_BANK;
    m_bBattlePal = true;
    ApplyAutoPalette();
    ApplyPalette();
}

void CGlyphoxView::OnOverworld()
{
    m_ui->radioBattle->setChecked(false);
    m_ui->radioOverworld->setChecked(true);
    m_dwPaletteBase = CActorTables::OVERWORLD_BANK;
    m_bBattlePal = false;
    ApplyAutoPalette();
    ApplyPalette();
}

void CGlyphoxView::OnClickTileList(QPoint point)
{
    const QModelIndex hit = m_listTiles->indexAt(point);
    if (hit.isValid())
        m_nTile = hit.row();
    // A click on empty space keeps the current tile selected.
    const QModelIndex selected = m_listTiles->model()->index(m_nTile, 0);
    m_listTiles->selectionModel()->select(selected, QItemSelectionModel::ClearAndSelect);
    LoadCurrentTile();
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
    const int palette = Wrap(ReadEdit(m_ui->editPalette), CActorTables::PALETTE_COUNT - 1);
    SetPaletteEdit(palette);
    return palette;
}

void CGlyphoxView::SetPaletteEdit(int palette)
{
    m_ui->editPalette->setText(QString::number(palette));
    const QSignalBlocker blocker(m_ui->spinPalette);
    m_ui->spinPalette->setValue(palette);
}

void CTileList::mouseReleaseEvent(QMouseEvent* event)
{
    QListWidget::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        emit Clicked(event->position().toPoint());
}

bool CGlyphoxView::eventFilter(QObject* watched, QEvent* event)
{
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

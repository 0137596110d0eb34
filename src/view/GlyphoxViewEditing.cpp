#include "GlyphoxView.h"

#include "app/CommandTable.h"
#include "color/PaletteCtrl.h"
#include "edit/PixelEditor.h"
#include "edit/TileFiles.h"
#include "rom/GlyphoxDoc.h"
#include "rom/SnesFormat.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>

#include <cstring>

namespace {

const QString kTileSetTitle = QStringLiteral("Import Morrow SNES Tile Set");
const QString kTileSetFilter = QStringLiteral("Morrow SNES Tile Set Files (*.bin);;All Files (*)");
const QString kPaletteTitle = QStringLiteral("Import 16 colours SNES palette");
const QString kPaletteFilter = QStringLiteral("SNES Palette Files (*.pal);;All Files (*)");

constexpr int kModes[3] = {CPixelEditor::MODE_PAINT, CPixelEditor::MODE_DROPPER,
                           CPixelEditor::MODE_FILL};
constexpr int kModeIds[3] = {ID_MODE_PAINT, ID_MODE_DROPPER, ID_MODE_FILL};

} // namespace

void CGlyphoxView::SetDefaultDialogs()
{
    m_fnMessageBox = [this](QMessageBox::Icon icon, const QString& text) {
        QMessageBox box(icon, QStringLiteral("Glyphox"), text, QMessageBox::Ok, this);
        box.exec();
    };
    m_fnOpenFileDialog = [this](const QString& title, const QString& filter) {
        QFileDialog dialog(this, title, {}, filter);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        // A name typed without an extension takes the one of the first filter.
        const QRegularExpressionMatch match =
            QRegularExpression(QStringLiteral("\\(\\*\\.(\\w+)\\)")).match(filter);
        dialog.setDefaultSuffix(match.captured(1));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        return dialog.selectedFiles().constFirst();
    };
}

void CGlyphoxView::ConnectCommands(const std::function<QAction*(int)>& action)
{
    using Handler = void (CGlyphoxView::*)();
    const struct
    {
        int nId;
        Handler handler;
    } commands[] = {
        {ID_TILE_COPY, &CGlyphoxView::OnEditCopy},
        {ID_TILE_PASTE, &CGlyphoxView::OnEditPaste},
        {ID_TILE_FILL, &CGlyphoxView::OnEditFill},
        {ID_ERASE_ALL, &CGlyphoxView::OnEditEraseAll},
        {ID_MODE_PAINT, &CGlyphoxView::OnModePaint},
        {ID_MODE_DROPPER, &CGlyphoxView::OnModeDropper},
        {ID_MODE_FILL, &CGlyphoxView::OnModeFill},
        {ID_SHIFT_LEFT, &CGlyphoxView::OnShiftLeft},
        {ID_SHIFT_UP, &CGlyphoxView::OnShiftUp},
        {ID_SHIFT_RIGHT, &CGlyphoxView::OnShiftRight},
        {ID_SHIFT_DOWN, &CGlyphoxView::OnShiftDown},
        {ID_FLIP_HORZ, &CGlyphoxView::OnFlipHorizontal},
        {ID_FLIP_VERT, &CGlyphoxView::OnFlipVertical},
        {ID_ROTATE_LEFT, &CGlyphoxView::OnRotateCounterClockwise},
        {ID_ROTATE_RIGHT, &CGlyphoxView::OnRotateClockwise},
        {ID_EXPORT_TILESET, &CGlyphoxView::OnExportTileSet},
        {ID_IMPORT_TILESET, &CGlyphoxView::OnImportTileSet},
        {ID_EXPORT_PALETTE, &CGlyphoxView::OnExportPalette},
        {ID_IMPORT_PALETTE, &CGlyphoxView::OnImportPalette},
    };
    for (const auto& command : commands) {
        if (QAction* pAction = action(command.nId))
            connect(pAction, &QAction::triggered, this, command.handler);
    }
    for (int i = 0; i < 3; ++i) {
        m_modeActions[i] = action(kModeIds[i]);
        if (m_modeActions[i])
            m_modeActions[i]->setCheckable(true);
    }
    SetMode(m_nMode);
}

std::uint8_t* CGlyphoxView::MutableTileWindow()
{
    return m_pDocument->m_pImage.get() + m_dwTileSetOffset[m_nTileSet];
}

std::uint8_t* CGlyphoxView::CurrentTileBytes()
{
    return MutableTileWindow() + TILE_BYTES * m_nTile;
}

bool CGlyphoxView::IsBattleBank() const
{
    return m_dwPaletteBase != CActorTables::OVERWORLD_BANK;
}

void CGlyphoxView::OnEditCopy()
{
    if (!m_bRomLoaded)
        return;
    std::memcpy(m_tileClipboard.data(), CurrentTileBytes(), TILE_BYTES);
}

void CGlyphoxView::OnEditPaste()
{
    if (!m_bRomLoaded)
        return;
    std::memcpy(CurrentTileBytes(), m_tileClipboard.data(), TILE_BYTES);
    emit Modified();
    OnUpdate(nullptr, 0, nullptr);
    RedrawStrips();
}

void CGlyphoxView::OnEditFill()
{
    if (!m_bRomLoaded)
        return;
    // The editor's change report writes the tile back.
    m_pixelEditor->FillAll(static_cast<std::uint8_t>(m_nForeIndex));
    OnUpdate(nullptr, 0, nullptr);
    RedrawStrips();
}

void CGlyphoxView::OnEditEraseAll()
{
    if (!m_bRomLoaded)
        return;
    // The whole window, even where it reaches into the tile sets that follow.
    std::memset(MutableTileWindow(), 0, CActorTables::WINDOW_BYTES);
    emit Modified();
    OnUpdate(nullptr, 0, nullptr);
    RedrawStrips();
}

void CGlyphoxView::OnModePaint()
{
    SetMode(CPixelEditor::MODE_PAINT);
}

void CGlyphoxView::OnModeDropper()
{
    SetMode(m_nMode == CPixelEditor::MODE_DROPPER ? CPixelEditor::MODE_PAINT
                                                  : CPixelEditor::MODE_DROPPER);
}

void CGlyphoxView::OnModeFill()
{
    SetMode(m_nMode == CPixelEditor::MODE_FILL ? CPixelEditor::MODE_PAINT
                                               : CPixelEditor::MODE_FILL);
}

// The menu and the editing toolbar share the actions, so one check mark shows on both.
void CGlyphoxView::SetMode(int mode)
{
    m_nMode = mode;
    m_pixelEditor->SetMode(m_nMode);
    for (int i = 0; i < 3; ++i) {
        if (m_modeActions[i])
            m_modeActions[i]->setChecked(kModes[i] == m_nMode);
    }
}

void CGlyphoxView::ApplyTileOperation(void (CPixelEditor::*operation)())
{
    if (!m_bRomLoaded)
        return;
    // The editor's change report writes the tile back and redraws the strips; the tile list
    // waits for the next update.
    (m_pixelEditor->*operation)();
    RedrawStrips();
}

void CGlyphoxView::OnShiftLeft()
{
    ApplyTileOperation(&CPixelEditor::ShiftLeft);
}

void CGlyphoxView::OnShiftUp()
{
    ApplyTileOperation(&CPixelEditor::ShiftUp);
}

void CGlyphoxView::OnShiftRight()
{
    ApplyTileOperation(&CPixelEditor::ShiftRight);
}

void CGlyphoxView::OnShiftDown()
{
    ApplyTileOperation(&CPixelEditor::ShiftDown);
}

void CGlyphoxView::OnFlipHorizontal()
{
    ApplyTileOperation(&CPixelEditor::FlipHorizontal);
}

void CGlyphoxView::OnFlipVertical()
{
    ApplyTileOperation(&CPixelEditor::FlipVertical);
}

void CGlyphoxView::OnRotateCounterClockwise()
{
    ApplyTileOperation(&CPixelEditor::RotateCounterClockwise);
}

void CGlyphoxView::OnRotateClockwise()
{
    ApplyTileOperation(&CPixelEditor::RotateClockwise);
}

void CGlyphoxView::WriteBackTile()
{
    if (!m_bRomLoaded)
        return;
    std::uint8_t pixels[TILE_PIXELS];
    for (int y = 0; y < TILE_SIZE; ++y) {
        for (int x = 0; x < TILE_SIZE; ++x)
            pixels[y * TILE_SIZE + x] = m_pixelEditor->GetPixel(x, y);
    }
    EncodeTile(pixels, CurrentTileBytes());
    emit Modified();
    RedrawStrips();
}

void CGlyphoxView::OnPixelPick(int button, int index)
{
    if (index < 0 || index >= PALETTE_COLORS)
        return;
    if (button == 0)
        m_nForeIndex = index;
    else
        m_nBackIndex = index;
    m_paletteCtrl->SetForeIndex(m_nForeIndex);
    m_paletteCtrl->SetBackIndex(m_nBackIndex);
    m_pixelEditor->SetPenColors(m_nForeIndex, m_nBackIndex);
}

void CGlyphoxView::OnPaletteSelect(int button, int index)
{
    if (index < 0 || index >= PALETTE_COLORS)
        return;
    if (button == 1) {
        m_nForeIndex = index;
        m_pixelEditor->SetPenColors(index, -1);
    } else if (button == 2) {
        m_nBackIndex = index;
        m_pixelEditor->SetPenColors(-1, index);
    }
}

void CGlyphoxView::OnPaletteColorChange(int /*button*/, int index, std::uint16_t color)
{
    if (!m_bRomLoaded || index < 0 || index >= PALETTE_COLORS)
        return;
    WriteColorWord(m_pDocument->m_pImage.get() + m_dwPaletteBase +
                       2 * (m_nPalette * PALETTE_COLORS + index),
                   color);
    emit Modified();
    OnUpdate(nullptr, 0, nullptr);
    RedrawStrips();
}

void CGlyphoxView::OnExportTileSet()
{
    if (!m_bRomLoaded)
        return;
    const QString name = CTileFiles::TileSetExportName(m_nTileSet);
    if (!CTileFiles::ExportTileSet(m_pDocument->m_pImage.get(), m_nTileSet, name).ok) {
        m_fnMessageBox(QMessageBox::Critical, CTileFiles::CannotCreateText());
        return;
    }
    m_fnMessageBox(QMessageBox::Information, CTileFiles::TileSetExportedText(name));
}

void CGlyphoxView::OnExportPalette()
{
    if (!m_bRomLoaded)
        return;
    const QString name = CTileFiles::PaletteExportName(IsBattleBank(), m_nPalette);
    if (!CTileFiles::ExportPalette(m_pDocument->m_pImage.get(), IsBattleBank(), m_nPalette, name)
             .ok) {
        m_fnMessageBox(QMessageBox::Critical, CTileFiles::CannotCreateText());
        return;
    }
    m_fnMessageBox(QMessageBox::Information, CTileFiles::PaletteExportedText(name));
}

void CGlyphoxView::OnImportTileSet()
{
    if (!m_bRomLoaded)
        return;
    const QString path = m_fnOpenFileDialog(kTileSetTitle, kTileSetFilter);
    if (path.isEmpty())
        return;
    if (!CTileFiles::ImportTileSet(m_pDocument->m_pImage.get(), m_nTileSet, path).ok) {
        m_fnMessageBox(QMessageBox::Critical, CTileFiles::CannotReadText());
        return;
    }
    if (QFileInfo(path).size() > 0)
        emit Modified();
    OnUpdate(nullptr, 0, nullptr);
    RedrawStrips();
}

void CGlyphoxView::OnImportPalette()
{
    if (!m_bRomLoaded)
        return;
    const QString path = m_fnOpenFileDialog(kPaletteTitle, kPaletteFilter);
    if (path.isEmpty())
        return;
    const CFileResult result =
        CTileFiles::ImportPalette(m_pDocument->m_pImage.get(), IsBattleBank(), m_nPalette, path);
    if (result.ok) {
        emit Modified();
    } else if (result.message == CTileFiles::PaletteTooShortText()) {
        m_fnMessageBox(QMessageBox::Information, result.message);
    } else {
        m_fnMessageBox(QMessageBox::Critical, CTileFiles::CannotReadText());
        return;
    }
    OnUpdate(nullptr, 0, nullptr);
    RedrawStrips();
}

#include "GlyphoxView.h"

#include "app/CommandTable.h"
#include "color/PaletteCtrl.h"
#include "edit/PixelEditor.h"
#include "edit/PaletteFile.h"
#include "edit/PixelGrid.h"
#include "edit/TileSheetImage.h"
#include "view/StripAnimation.h"
#include "edit/TileFiles.h"
#include "rom/AtomicFile.h"
#include "rom/GlyphoxDoc.h"
#include "rom/SnesFormat.h"

#include <QAction>
#include <QBuffer>
#include <QFileDialog>
#include <QFileInfo>
#include <QSettings>
#include <QRegularExpression>

#include <cstring>

namespace {

const QString kTileSetTitle = QStringLiteral("Import Morrow SNES Tile Set");
const QString kTileSetFilter = QStringLiteral("Morrow SNES Tile Set Files (*.bin);;All Files (*)");
const QString kPaletteTitle = QStringLiteral("Import 16 colours SNES palette");
const QString kPaletteFilter = QStringLiteral("SNES Palette Files (*.pal);;All Files (*)");

const QString kSheetAsTitle = QStringLiteral("Export tile set as image");
const QString kSheetFromTitle = QStringLiteral("Import tile set from image");
const QString kSheetFilter = QStringLiteral("PNG images (*.png)");
const QString kPaletteAsTitle = QStringLiteral("Export palette as");
const QString kPaletteFromTitle = QStringLiteral("Import palette from");
// In the order of CPaletteFile::Format.
const QStringList kPaletteFormatFilters = {
    QStringLiteral("Raw SNES palette (*.pal *.bin)"), QStringLiteral("JASC palette (*.pal)"),
    QStringLiteral("GIMP palette (*.gpl)"), QStringLiteral("Adobe colour table (*.act)")};
const QString kPaletteFromFilter =
    QStringLiteral("Palette files (*.pal *.gpl *.act *.png *.bin);;All Files (*)");

// The folder of the last palette file chosen, kept across runs.
QString LastFolder()
{
    return QSettings(QStringLiteral("Brackenfold"), QStringLiteral("Glyphox"))
        .value(QStringLiteral("Settings/LastFileFolder"))
        .toString();
}

void RememberFolder(const QString& path)
{
    QSettings(QStringLiteral("Brackenfold"), QStringLiteral("Glyphox"))
        .setValue(QStringLiteral("Settings/LastFileFolder"), QFileInfo(path).absolutePath());
}

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
        QFileDialog dialog(this, title, LastFolder(), filter);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        // A name typed without an extension takes the one of the first filter.
        const QRegularExpressionMatch match =
            QRegularExpression(QStringLiteral("\\(\\*\\.(\\w+)\\)")).match(filter);
        dialog.setDefaultSuffix(match.captured(1));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        RememberFolder(dialog.selectedFiles().constFirst());
        return dialog.selectedFiles().constFirst();
    };
    m_fnSaveFileDialog = [this](const QString& title, const QString& filters,
                                QString* selectedFilter) {
        const QString path =
            QFileDialog::getSaveFileName(this, title, LastFolder(), filters, selectedFilter);
        if (!path.isEmpty())
            RememberFolder(path);
        return path;
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
        {ID_EXPORT_PALETTE_AS, &CGlyphoxView::OnExportPaletteAs},
        {ID_EXPORT_TILESET_IMAGE, &CGlyphoxView::OnExportTileSetImage},
        {ID_IMPORT_TILESET_IMAGE, &CGlyphoxView::OnImportTileSetImage},
        {ID_EXPORT_POSES, &CGlyphoxView::OnExportPoses},
        {ID_IMPORT_PALETTE_FROM, &CGlyphoxView::OnImportPaletteFrom},
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

QByteArray CGlyphoxView::CurrentTileBytes() const
{
    return QByteArray(
        reinterpret_cast<const char*>(m_pDocument->Image()) + m_selection.TileOffset(), TILE_BYTES);
}

void CGlyphoxView::ApplyTileBytes(const QByteArray& bytes, const QString& label)
{
    m_pDocument->Apply({m_selection.TileOffset(), bytes, label, m_selection.TileSite()});
}

void CGlyphoxView::OnEditCopy()
{
    if (!m_bRomLoaded)
        return;
    const QByteArray tile = CurrentTileBytes();
    std::memcpy(m_tileClipboard.data(), tile.constData(), TILE_BYTES);
}

void CGlyphoxView::OnEditPaste()
{
    if (!m_bRomLoaded)
        return;
    ApplyTileBytes(QByteArray(reinterpret_cast<const char*>(m_tileClipboard.data()), TILE_BYTES),
                   QStringLiteral("Paste tile"));
}

void CGlyphoxView::OnEditFill()
{
    if (!m_bRomLoaded)
        return;
    CPixelGrid grid(TILE_SIZE, TILE_SIZE);
    grid.FillAll(static_cast<std::uint8_t>(m_nForeIndex));
    QByteArray tile(TILE_BYTES, Qt::Uninitialized);
    grid.StoreTile(reinterpret_cast<std::uint8_t*>(tile.data()));
    ApplyTileBytes(tile, QStringLiteral("Fill tile"));
}

void CGlyphoxView::OnEditEraseAll()
{
    if (!m_bRomLoaded)
        return;
    // The whole window, even where it reaches into the tile sets that follow.
    m_pDocument->Apply({m_selection.WindowOffset(), QByteArray(CActorTables::WINDOW_BYTES, '\0'),
                        QStringLiteral("Erase all tiles"), m_selection.TileSite()});
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

// The operation runs on the document's tile; the pixel editor then shows the result.
void CGlyphoxView::ApplyTileOperation(void (CPixelGrid::*operation)(), const char* label)
{
    if (!m_bRomLoaded)
        return;
    CPixelGrid grid;
    grid.LoadTile(m_pDocument->Image() + m_selection.TileOffset());
    (grid.*operation)();
    QByteArray tile(TILE_BYTES, Qt::Uninitialized);
    grid.StoreTile(reinterpret_cast<std::uint8_t*>(tile.data()));
    ApplyTileBytes(tile, QString::fromUtf8(label));
}

void CGlyphoxView::OnShiftLeft()
{
    ApplyTileOperation(&CPixelGrid::ShiftLeft, "Shift left");
}

void CGlyphoxView::OnShiftUp()
{
    ApplyTileOperation(&CPixelGrid::ShiftUp, "Shift up");
}

void CGlyphoxView::OnShiftRight()
{
    ApplyTileOperation(&CPixelGrid::ShiftRight, "Shift right");
}

void CGlyphoxView::OnShiftDown()
{
    ApplyTileOperation(&CPixelGrid::ShiftDown, "Shift down");
}

void CGlyphoxView::OnFlipHorizontal()
{
    ApplyTileOperation(&CPixelGrid::FlipHorizontal, "Flip horizontally");
}

void CGlyphoxView::OnFlipVertical()
{
    ApplyTileOperation(&CPixelGrid::FlipVertical, "Flip vertically");
}

void CGlyphoxView::OnRotateCounterClockwise()
{
    ApplyTileOperation(&CPixelGrid::RotateCounterClockwise, "Rotate left");
}

void CGlyphoxView::OnRotateClockwise()
{
    ApplyTileOperation(&CPixelGrid::RotateClockwise, "Rotate right");
}

// A paint stroke or a flood fill, from press to release, is one step of the history.
void CGlyphoxView::OnStrokeStarted()
{
    if (m_bRomLoaded)
        m_pDocument->BeginStroke(m_nMode == CPixelEditor::MODE_FILL ? QStringLiteral("Flood fill")
                                                                    : QStringLiteral("Paint"),
                                 m_selection.TileSite());
}

void CGlyphoxView::OnStrokeEnded()
{
    m_pDocument->EndStroke();
}

// The pixel editor painted its cells; the document takes them as the tile's new bytes.
void CGlyphoxView::WriteBackTile()
{
    if (!m_bRomLoaded)
        return;
    QByteArray tile(TILE_BYTES, Qt::Uninitialized);
    m_pixelEditor->Grid().StoreTile(reinterpret_cast<std::uint8_t*>(tile.data()));
    ApplyTileBytes(tile, QStringLiteral("Paint"));
}

// Undo and redo first show where the step happened, so that nothing changes out of sight.
void CGlyphoxView::ShowStepSite(const CEditSite& site)
{
    const CEditSite shown = m_selection.Site();
    m_selection.GoTo(site);
    if (!(m_selection.Site() == shown))
        ShowSelection();
}

void CGlyphoxView::OnEditUndo()
{
    if (const CEditHistory::Step* step = m_pDocument->UndoStep(); m_bRomLoaded && step) {
        ShowStepSite(step->site);
        m_pDocument->Undo();
    }
}

void CGlyphoxView::OnEditRedo()
{
    if (const CEditHistory::Step* step = m_pDocument->RedoStep(); m_bRomLoaded && step) {
        ShowStepSite(step->site);
        m_pDocument->Redo();
    }
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
    QByteArray word(2, Qt::Uninitialized);
    WriteColorWord(reinterpret_cast<std::uint8_t*>(word.data()), color);
    // Unchanged, the colour is still shown afresh, as after any OK of the dialog.
    if (!m_pDocument->Apply({m_selection.ColorOffset(index), word, QStringLiteral("Change colour"),
                             m_selection.PaletteSite()})) {
        OnUpdate(nullptr, 0, nullptr);
        RedrawStrips();
    }
}

void CGlyphoxView::OnExportTileSet()
{
    if (!m_bRomLoaded)
        return;
    const QString name = CTileFiles::TileSetExportName(m_selection.Actor());
    if (!CTileFiles::ExportTileSet(m_pDocument->Image(), m_selection.Actor(), name).ok) {
        m_fnMessageBox(QMessageBox::Critical, CTileFiles::CannotCreateText());
        return;
    }
    m_fnMessageBox(QMessageBox::Information,
                   CTileFiles::TileSetExportedText(QFileInfo(name).absoluteFilePath()));
}

void CGlyphoxView::OnExportPalette()
{
    if (!m_bRomLoaded)
        return;
    const QString name =
        CTileFiles::PaletteExportName(m_selection.IsBattle(), m_selection.Palette());
    if (!CTileFiles::ExportPalette(m_pDocument->Image(), m_selection.IsBattle(),
                                   m_selection.Palette(), name)
             .ok) {
        m_fnMessageBox(QMessageBox::Critical, CTileFiles::CannotCreateText());
        return;
    }
    m_fnMessageBox(QMessageBox::Information,
                   CTileFiles::PaletteExportedText(QFileInfo(name).absoluteFilePath()));
}

void CGlyphoxView::OnImportTileSet()
{
    if (!m_bRomLoaded)
        return;
    const QString path = m_fnOpenFileDialog(kTileSetTitle, kTileSetFilter);
    if (path.isEmpty())
        return;
    if (!CTileFiles::ImportTileSet(*m_pDocument, m_selection.Actor(), path).ok)
        m_fnMessageBox(QMessageBox::Critical, CTileFiles::CannotReadText());
}

void CGlyphoxView::OnImportPalette()
{
    if (!m_bRomLoaded)
        return;
    const QString path = m_fnOpenFileDialog(kPaletteTitle, kPaletteFilter);
    if (path.isEmpty())
        return;
    const CFileResult result = CTileFiles::ImportPalette(*m_pDocument, m_selection.IsBattle(),
                                                         m_selection.Palette(), path);
    if (result.message == CTileFiles::PaletteTooShortText())
        m_fnMessageBox(QMessageBox::Information, result.message);
    else if (!result.ok)
        m_fnMessageBox(QMessageBox::Critical, CTileFiles::CannotReadText());
}

void CGlyphoxView::OnExportPaletteAs()
{
    if (!m_bRomLoaded)
        return;
    QString filter = kPaletteFormatFilters.first();
    const QString path = m_fnSaveFileDialog(
        kPaletteAsTitle, kPaletteFormatFilters.join(QStringLiteral(";;")), &filter);
    if (path.isEmpty())
        return;
    const auto format = CPaletteFile::Format(qMax(0, int(kPaletteFormatFilters.indexOf(filter))));
    std::uint16_t words[PALETTE_COLORS];
    CurrentPalette(words);
    const CFileResult written = CAtomicFile::Write(path, CPaletteFile::Encode(words, format));
    if (!written.ok) {
        m_fnMessageBox(QMessageBox::Critical, written.message);
        return;
    }
    m_fnMessageBox(QMessageBox::Information,
                   CTileFiles::PaletteExportedText(QFileInfo(path).absoluteFilePath()));
}

void CGlyphoxView::OnImportPaletteFrom()
{
    if (!m_bRomLoaded)
        return;
    const QString path = m_fnOpenFileDialog(kPaletteFromTitle, kPaletteFromFilter);
    if (path.isEmpty())
        return;
    const CFileResult result =
        CPaletteFile::Import(*m_pDocument, m_selection.IsBattle(), m_selection.Palette(), path);
    if (!result.ok)
        m_fnMessageBox(QMessageBox::Critical, result.message);
    else if (!result.message.isEmpty())
        m_fnMessageBox(QMessageBox::Information, result.message);
}

void CGlyphoxView::OnExportTileSetImage()
{
    if (!m_bRomLoaded)
        return;
    QString filter = kSheetFilter;
    const QString path = m_fnSaveFileDialog(kSheetAsTitle, kSheetFilter, &filter);
    if (path.isEmpty())
        return;
    std::uint16_t words[PALETTE_COLORS];
    CurrentPalette(words);
    QByteArray png;
    CFileResult written = CTileSheetImage::EncodePng(TileWindow(), words, &png);
    if (written.ok)
        written = CAtomicFile::Write(path, png);
    if (!written.ok) {
        m_fnMessageBox(QMessageBox::Critical, written.message);
        return;
    }
    m_fnMessageBox(QMessageBox::Information,
                   CTileFiles::TileSetExportedText(QFileInfo(path).absoluteFilePath()));
}

void CGlyphoxView::OnImportTileSetImage()
{
    if (!m_bRomLoaded)
        return;
    const QString path =
        m_fnOpenFileDialog(kSheetFromTitle, kSheetFilter + QStringLiteral(";;All Files (*)"));
    if (path.isEmpty())
        return;
    std::uint16_t words[PALETTE_COLORS];
    CurrentPalette(words);
    const CFileResult result =
        CTileSheetImage::Import(*m_pDocument, m_selection.Actor(), words, path);
    if (!result.ok)
        m_fnMessageBox(QMessageBox::Critical, result.message);
}

// The chosen filter names the strip and the kind: its whole animation as a GIF, or the step
// it shows now as an indexed PNG, both magnified as on screen.
void CGlyphoxView::OnExportPoses()
{
    if (!m_bRomLoaded)
        return;
    QStringList filters;
    for (int strip = 1; strip <= CActorTables::STRIP_COUNT; ++strip)
        filters << QStringLiteral("Strip %1 animation (*.gif)").arg(strip)
                << QStringLiteral("Strip %1, shown step (*.png)").arg(strip);
    QString filter = filters.first();
    const QString path = m_fnSaveFileDialog(QStringLiteral("Export poses as animation"),
                                            filters.join(QStringLiteral(";;")), &filter);
    if (path.isEmpty())
        return;
    const int choice = qMax(0, int(filters.indexOf(filter)));
    const int strip = choice / 2;
    std::uint16_t words[PALETTE_COLORS];
    CurrentPalette(words);
    QByteArray bytes;
    CFileResult written = CFileResult::Success();
    if (choice % 2 == 0) {
        written = CStripAnimation::EncodeGif(strip, TileWindow(), words,
                                             CStripRenderer::MAGNIFICATION, &bytes);
    } else {
        QBuffer buffer(&bytes);
        const int step = strip == 1 ? m_nAnimToggle : m_nAnimStep;
        if (!buffer.open(QIODevice::WriteOnly) ||
            !CStripAnimation::IndexedStep(strip, step, TileWindow(), words,
                                          CStripRenderer::MAGNIFICATION)
                 .save(&buffer, "PNG"))
            written = CFileResult::Failure(QStringLiteral("Cannot encode the picture as PNG."));
    }
    if (written.ok)
        written = CAtomicFile::Write(path, bytes);
    if (!written.ok) {
        m_fnMessageBox(QMessageBox::Critical, written.message);
        return;
    }
    m_fnMessageBox(QMessageBox::Information,
                   QStringLiteral("Exported the poses of strip %1 to `%2'")
                       .arg(strip + 1)
                       .arg(QFileInfo(path).absoluteFilePath()));
}

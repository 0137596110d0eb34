#include "GlyphoxView.h"

#include "color/PaletteCtrl.h"
#include "edit/PixelEditor.h"
#include "rom/GlyphoxDoc.h"
#include "ui_GlyphoxView.h"
#include "view/CachedSizeDelegate.h"
#include "view/ViewSettings.h"

#include <QSettings>
#include <QSignalBlocker>

#include <initializer_list>

namespace {

constexpr int kAnimationPeriod = 250; // milliseconds per step

QSettings ProfileSettings()
{
    return QSettings("Brackenfold", "Glyphox");
}

} // namespace

CGlyphoxView::CGlyphoxView(CGlyphoxDoc* document, QWidget* parent)
    : QWidget(parent), m_pDocument(document), m_ui(std::make_unique<Ui::GlyphoxView>())
{
    m_ui->setupUi(this);
    m_listTiles = m_ui->listTiles;
    m_paletteCtrl = m_ui->paletteCtrl;
    m_pixelEditor = m_ui->pixelEditor;
    // A new icon then does not make the list shape its label again.
    m_listTiles->setItemDelegate(new CCachedSizeDelegate(m_listTiles));

    m_animTimer.setInterval(kAnimationPeriod);

    // Enter and the arrow keys in the two edits come through the event filter.
    m_ui->editTileSet->installEventFilter(this);
    m_ui->editPalette->installEventFilter(this);
    // Clicks on the strips choose the tile of the cell.
    for (QLabel* strip : {m_ui->labelStrip1, m_ui->labelStrip2, m_ui->labelStrip3})
        strip->installEventFilter(this);

    connect(m_listTiles, &CTileList::Clicked, this, &CGlyphoxView::OnClickTileList);
    connect(m_listTiles, &CTileList::MovedByKey, this, [this](int row) { SelectTile(row, true); });
    connect(m_ui->editTileSet, &QLineEdit::textEdited, this,
            [this](const QString& text) { SyncUpDown(m_ui->spinTileSet, text); });
    connect(m_ui->editPalette, &QLineEdit::textEdited, this,
            [this](const QString& text) { SyncUpDown(m_ui->spinPalette, text); });
    connect(m_ui->spinTileSet, &QSpinBox::valueChanged, this, &CGlyphoxView::OnTileSetSpin);
    connect(m_ui->spinPalette, &QSpinBox::valueChanged, this, &CGlyphoxView::OnPaletteSpin);
    connect(m_ui->checkShowTileID, &QCheckBox::clicked, this, &CGlyphoxView::OnShowTileID);
    connect(m_ui->checkAuto, &QCheckBox::clicked, this, &CGlyphoxView::OnAutoPal);
    connect(m_ui->radioBattle, &QRadioButton::clicked, this, &CGlyphoxView::OnBattle);
    connect(m_ui->radioOverworld, &QRadioButton::clicked, this, &CGlyphoxView::OnOverworld);
    connect(m_ui->buttonAnimate, &QPushButton::clicked, this, &CGlyphoxView::OnAnimate);
    connect(m_ui->buttonAddFrame, &QPushButton::clicked, this, &CGlyphoxView::OnAddFrame);
    connect(&m_animTimer, &QTimer::timeout, this, &CGlyphoxView::OnTimer);
    connect(m_pixelEditor, &CPixelEditor::Changed, this, &CGlyphoxView::WriteBackTile);
    connect(m_pixelEditor, &CPixelEditor::StrokeStarted, this, &CGlyphoxView::OnStrokeStarted);
    connect(m_pixelEditor, &CPixelEditor::StrokeEnded, this, &CGlyphoxView::OnStrokeEnded);
    connect(m_pDocument, &CGlyphoxDoc::ImageChanged, this, &CGlyphoxView::OnImageChanged);
    connect(m_pixelEditor, &CPixelEditor::Picked, this, &CGlyphoxView::OnPixelPick);
    connect(m_paletteCtrl, &CPaletteCtrl::Selected, this, &CGlyphoxView::OnPaletteSelect);
    connect(m_paletteCtrl, &CPaletteCtrl::ColorChanged, this, &CGlyphoxView::OnPaletteColorChange);
    SetDefaultDialogs();
}

CGlyphoxView::~CGlyphoxView()
{
    WriteSettings();
}

void CGlyphoxView::OnInitialUpdate()
{
    // Each step below reloads the form for the state it set; only the last state shows.
    m_bBatchUpdates = true;
    m_bUpdatePending = m_bStripsPending = false;
    ReadSettings();
    {
        const QSignalBlocker blocker(m_ui->spinTileSet);
        m_ui->spinTileSet->setRange(0, CActorTables::ACTOR_COUNT - 1);
        m_ui->spinTileSet->setValue(m_selection.Actor());
        m_ui->editTileSet->setText(QString::number(m_selection.Actor()));
    }
    {
        const QSignalBlocker blocker(m_ui->spinPalette);
        m_ui->spinPalette->setRange(0, CActorTables::PALETTE_COUNT - 1);
        SetPaletteEdit(m_selection.Palette());
    }
    // The frame fits itself to the form and hides its dialog bar.
    OnUpdate(nullptr, 0, nullptr);
    m_ui->checkShowTileID->setChecked(m_bShowTileID);
    m_ui->checkAuto->setChecked(m_selection.IsAutoPalette());
    if (m_selection.IsBattle())
        OnBattle();
    else
        OnOverworld();
    OnModePaint();
    EnableControls(m_pDocument->IsImageLoaded());
    m_bBatchUpdates = false;
    if (m_bUpdatePending)
        OnUpdate(nullptr, 0, nullptr);
    if (m_bStripsPending)
        RedrawStrips();
    emit RomLoadedChanged(m_bRomLoaded);
    // The frame places its editing toolbar.
    // Left to the event loop, the list's item layout would run inside the next paint and
    // have the list painted a second time.
    m_listTiles->LayOutPendingItems();
}

void CGlyphoxView::EnableControls(bool loaded)
{
    using Controls = std::initializer_list<QWidget*>;
    m_bRomLoaded = loaded;
    for (QWidget* control : Controls{m_ui->checkAuto, m_ui->radioBattle, m_ui->radioOverworld,
                                     m_ui->labelSpriteID, m_ui->editTileSet, m_ui->spinTileSet,
                                     m_ui->labelPalette, m_ui->editPalette, m_ui->spinPalette})
        control->setEnabled(loaded);
    for (QWidget* control :
         Controls{m_ui->checkShowTileID, m_ui->buttonAnimate, m_ui->buttonAddFrame,
                  m_ui->labelStrip1, m_ui->labelStrip2, m_ui->labelStrip3})
        control->setVisible(loaded);
    for (QWidget* control : Controls{m_pixelEditor, m_paletteCtrl, m_listTiles})
        control->setEnabled(loaded);
    if (loaded) {
        // OnAnimate inverts it back and brings the buttons and the timer in line.
        m_bAnimate = !m_bAnimate;
        OnAutoPal();
        OnAnimate();
    }
}

void CGlyphoxView::ReadSettings()
{
    QSettings profile = ProfileSettings();
    CViewSettings settings;
    settings.Read(profile);
    m_selection.SetAutoPalette(false);
    m_selection.SetActor(settings.m_nTileSet);
    m_selection.SetBattle(settings.m_bBattlePal);
    m_selection.SetPalette(settings.m_nPalette);
    m_bShowTileID = settings.m_bShowTileID;
    m_bAnimate = settings.m_bAnimate;
    m_selection.SetAutoPalette(settings.m_bAutoPal);
}

void CGlyphoxView::WriteSettings() const
{
    CViewSettings settings;
    settings.m_nPalette = m_selection.Palette();
    settings.m_bAutoPal = m_selection.IsAutoPalette();
    settings.m_nTileSet = m_selection.Actor();
    settings.m_bShowTileID = m_bShowTileID;
    settings.m_bBattlePal = m_selection.IsBattle();
    settings.m_bAnimate = m_bAnimate;
    QSettings profile = ProfileSettings();
    settings.Write(profile);
}

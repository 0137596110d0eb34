#include "SheetTileIconEngine.h"

#include <QApplication>
#include <QPainter>
#include <QPixmapCache>
#include <QStyle>
#include <QStyleOption>

CSheetTileIconEngine::CSheetTileIconEngine(std::shared_ptr<const QPixmap> sheet, int tile,
                                           int side)
    : m_sheet(std::move(sheet)), m_nTile(tile), m_nSide(side)
{
}

void CSheetTileIconEngine::paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
                                 QIcon::State state)
{
    const QPaintDevice* device = painter->device();
    const qreal ratio = device ? device->devicePixelRatio() : qApp->devicePixelRatio();
    painter->drawPixmap(rect, pixmap(rect.size() * ratio, mode, state));
}

// Never larger than the tile: an icon made from a pixmap is not scaled up either.
QSize CSheetTileIconEngine::actualSize(const QSize& size, QIcon::Mode, QIcon::State)
{
    QSize actual(m_nSide, m_nSide);
    if (actual.width() > size.width() || actual.height() > size.height())
        actual.scale(size, Qt::KeepAspectRatio);
    return actual;
}

QPixmap CSheetTileIconEngine::pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state)
{
    if (m_sheet->isNull())
        return {};
    const QSize actual = actualSize(size, mode, state);
    // The looks other than the normal one are generated once per drawn sheet, as the
    // pixmap cache keeps them for pixmap icons.
    QString key;
    QPixmap pixmap;
    if (mode != QIcon::Normal) {
        key = QStringLiteral("glyphox_tile_%1_%2_%3_%4_%5")
                  .arg(m_sheet->cacheKey())
                  .arg(m_nTile)
                  .arg(int(mode))
                  .arg(QGuiApplication::palette().cacheKey())
                  .arg(actual.width());
        if (QPixmapCache::find(key, &pixmap))
            return pixmap;
    }
    pixmap = m_sheet->copy(m_nTile * m_nSide, 0, m_nSide, m_nSide);
    if (pixmap.size() != actual)
        pixmap = pixmap.scaled(actual, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    if (mode != QIcon::Normal) {
        // The same option a pixmap icon hands the style: the application's palette.
        QStyleOption option(0);
        option.palette = QGuiApplication::palette();
        const QPixmap generated = QApplication::style()->generatedIconPixmap(mode, pixmap, &option);
        if (!generated.isNull())
            pixmap = generated;
        QPixmapCache::insert(key, pixmap);
    }
    return pixmap;
}

QList<QSize> CSheetTileIconEngine::availableSizes(QIcon::Mode mode, QIcon::State state)
{
    if (mode != QIcon::Normal || state != QIcon::Off)
        return {};
    return {QSize(m_nSide, m_nSide)};
}

QString CSheetTileIconEngine::key() const
{
    return QStringLiteral("CSheetTileIconEngine");
}

QIconEngine* CSheetTileIconEngine::clone() const
{
    return new CSheetTileIconEngine(m_sheet, m_nTile, m_nSide);
}

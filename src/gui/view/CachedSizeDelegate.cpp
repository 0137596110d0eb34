#include "CachedSizeDelegate.h"

#include <QAbstractItemView>
#include <QEvent>

CCachedSizeDelegate::CCachedSizeDelegate(QAbstractItemView* view) : QStyledItemDelegate(view)
{
    view->installEventFilter(this);
}

QSize CCachedSizeDelegate::sizeHint(const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const
{
    // A size hint of the item's own wins, as in the base class.
    if (const QVariant hint = index.data(Qt::SizeHintRole); hint.isValid())
        return hint.toSize();
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const int wrapWidth =
        opt.features.testFlag(QStyleOptionViewItem::WrapText) ? opt.rect.width() : -1;
    SEntry& entry = m_sizes[opt.text];
    if (entry.size.isValid() && entry.font == opt.font &&
        entry.decorationSize == opt.decorationSize && entry.features == int(opt.features) &&
        entry.decorationPosition == opt.decorationPosition &&
        entry.displayAlignment == opt.displayAlignment && entry.wrapWidth == wrapWidth)
        return entry.size;
    entry.font = opt.font;
    entry.decorationSize = opt.decorationSize;
    entry.features = int(opt.features);
    entry.decorationPosition = opt.decorationPosition;
    entry.displayAlignment = opt.displayAlignment;
    entry.wrapWidth = wrapWidth;
    entry.size = QStyledItemDelegate::sizeHint(option, index);
    return entry.size;
}

bool CCachedSizeDelegate::eventFilter(QObject* watched, QEvent* event)
{
    // The base class filters editors: the view's own events (its Tab, its focus loss)
    // must not be handled as an editor's.
    if (watched == parent()) {
        if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
            m_sizes.clear();
        return false;
    }
    return QStyledItemDelegate::eventFilter(watched, event);
}

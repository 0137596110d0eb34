#pragma once

#include <QFont>
#include <QHash>
#include <QSize>
#include <QStyledItemDelegate>

class QAbstractItemView;

// An item delegate that remembers each label's measured size. A list view
// measures an item again whenever its data changes, even when only its icon
// did; measuring shapes the text, which is most of the cost of a new icon.
// Sizes are kept per label with everything else the measure depends on, and
// forgotten when the view's font or style changes.
class CCachedSizeDelegate : public QStyledItemDelegate
{
public:
    explicit CCachedSizeDelegate(QAbstractItemView* view);

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct SEntry
    {
        QFont font;
        QSize decorationSize;
        int features = 0;
        int decorationPosition = 0;
        Qt::Alignment displayAlignment;
        int wrapWidth = -1; // wrapped text depends on the width it wraps in
        QSize size;
    };

    mutable QHash<QString, SEntry> m_sizes;
};

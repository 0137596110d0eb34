#include "TileUsageReport.h"

#include "rom/ActorTables.h"
#include "rom/TileUsage.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

namespace {

QList<int> Steps(const CTileUsage::Cell& cell)
{
    QList<int> steps;
    for (int step = 0; step < CActorTables::StripStepCount(cell.strip); ++step)
        if (cell.ShowsAt(step))
            steps << step;
    return steps;
}

QList<int> Shown(int tile)
{
    QList<int> tiles;
    for (int t = tile < 0 ? 0 : tile; t <= (tile < 0 ? CActorTables::WINDOW_TILES - 1 : tile); ++t)
        tiles << t;
    return tiles;
}

QString CellLine(const CTileUsage::Cell& cell)
{
    QStringList steps;
    for (int step : Steps(cell))
        steps << QString::number(step);
    return QStringLiteral("  strip %1, column %2, row %3, %4 %5%6")
        .arg(cell.strip + 1)
        .arg(cell.column)
        .arg(cell.row)
        .arg(steps.size() == 1 ? QStringLiteral("step") : QStringLiteral("steps"),
             steps.join(QStringLiteral(", ")),
             cell.mirrored ? QStringLiteral(", mirrored") : QString());
}

// "51-180 (130 tiles)", runs of neighbours joined.
QString Ranges(const std::vector<int>& tiles)
{
    if (tiles.empty())
        return QStringLiteral("none");
    QStringList runs;
    for (std::size_t i = 0; i < tiles.size();) {
        std::size_t j = i;
        while (j + 1 < tiles.size() && tiles[j + 1] == tiles[j] + 1)
            ++j;
        runs << (i == j ? QString::number(tiles[i])
                        : QStringLiteral("%1-%2").arg(tiles[i]).arg(tiles[j]));
        i = j + 1;
    }
    return QStringLiteral("%1 (%2 tiles)").arg(runs.join(QStringLiteral(", "))).arg(tiles.size());
}

} // namespace

QString CTileUsageReport::Text(const CTileUsage& usage, int tile)
{
    const int own = CActorTables::OwnTiles(usage.Actor());
    QStringList lines{QStringLiteral("Actor %1: tiles 0 to %2 are its own; a pose is its own "
                                     "when it shows only those.")
                          .arg(usage.Actor())
                          .arg(own - 1)};
    for (int t : Shown(tile)) {
        lines << QStringLiteral("Tile %1 (%2h)%3:")
                     .arg(t)
                     .arg(QString::number(t, 16).toUpper().rightJustified(2, QLatin1Char('0')))
                     .arg(usage.IsUsed(t) ? QString()
                                          : QStringLiteral(", not used by this actor's poses"));
        for (const CTileUsage::Cell& cell : usage.CellsOf(t))
            lines << CellLine(cell);
    }
    lines << QStringLiteral("Unused: %1").arg(Ranges(usage.UnusedTiles()));
    return lines.join(QLatin1Char('\n'));
}

QByteArray CTileUsageReport::Json(const CTileUsage& usage, int tile)
{
    QJsonArray tiles;
    for (int t : Shown(tile)) {
        QJsonArray cells;
        for (const CTileUsage::Cell& cell : usage.CellsOf(t)) {
            QJsonArray steps;
            for (int step : Steps(cell))
                steps << step;
            cells << QJsonObject{{"strip", cell.strip + 1},
                                 {"column", cell.column},
                                 {"row", cell.row},
                                 {"steps", steps},
                                 {"mirrored", cell.mirrored}};
        }
        tiles << QJsonObject{{"tile", t}, {"used", usage.IsUsed(t)}, {"cells", cells}};
    }
    QJsonArray unused;
    for (int t : usage.UnusedTiles())
        unused << t;
    return QJsonDocument(QJsonObject{{"actor", usage.Actor()},
                                     {"ownTiles", CActorTables::OwnTiles(usage.Actor())},
                                     {"tiles", tiles},
                                     {"unused", unused}})
        .toJson(QJsonDocument::Indented);
}

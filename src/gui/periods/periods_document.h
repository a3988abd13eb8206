#pragma once

#include <QModelIndex>
#include <QString>

#include <cstdint>
#include <vector>

class QPagedPaintDevice;
class QPainter;
class QRect;

namespace orvanta {

class PeriodModel;
class PeriodTimeline;

// The precise periods on paper or in a PDF, apart from the window that shows them: the
// birth chart's page, then on every page a line saying whose periods, born when and
// where, in which settings, and the page number; on the first the notes, the running
// periods, the timeline and the provenance; then the rows given, each with its level's
// name, the running ones marked, the column headings again on every page.
class PeriodsDocument {
public:
    struct Heading {
        QString name;
        QString zone;      // "Asia/Kolkata", "zone 5:30 east"
        QString ayanamsa;  // as the settings list names it
        QString yearDays;  // as the year-length list names it
        int uncertaintyMinutes = 0;
    };

    // `rows` are indexes of `model` in reading order; `running` is the window's line of
    // the running periods, of which the first line is printed.
    PeriodsDocument(const PeriodModel& model, const PeriodTimeline& timeline, std::vector<QModelIndex> rows,
                    Heading heading, QString notes, QString running, std::int64_t todayUtc);

    // False when the device could not be drawn on.
    bool paint(QPagedPaintDevice& device) const;

private:
    // Returns where the page's own contents begin.
    int PaintPageHeading(QPainter& painter, const QRect& page, int pageNumber) const;
    int PaintSummary(QPainter& painter, const QRect& page, int y) const;

    const PeriodModel& model_;
    const PeriodTimeline& timeline_;
    std::vector<QModelIndex> rows_;
    Heading heading_;
    QString notes_;
    QString running_;
    std::int64_t todayUtc_;
};

}  // namespace orvanta

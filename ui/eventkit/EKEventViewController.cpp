#include "ui/eventkit/EKEventViewController.h"

#include "core/calendar/DateTimeFormatter.h"
#include "core/calendar/DateUtilities.h"
#include "core/eventstore/EKEvent.h"
#include "foundation/Localization.h"
#include "kit/BarButtonItem.h"
#include "kit/Font.h"
#include "kit/ImageView.h"
#include "kit/Label.h"
#include "kit/NavigationItem.h"
#include "kit/StringDrawing.h"
#include "ui/common/DotImage.h"

#include <cmath>

namespace {

constexpr double textInset = 10.0;
constexpr double valueRowHeight = 44.0;
constexpr double secondsPerMinute = 60.0;
constexpr double secondsPerHour = 3600.0;
constexpr double secondsPerDay = 86400.0;

const QString summaryIdentifier = QStringLiteral("summary");
const QString notesIdentifier = QStringLiteral("notes");
const QString valueIdentifier = QStringLiteral("value");

Font titleFont() {
    return Font::boldSystemFontOfSize(18);
}
Font detailFont() {
    return Font::systemFontOfSize(15);
}
Font notesLabelFont() {
    return Font::boldSystemFontOfSize(13);
}
Color detailColor() {
    return Color::fromRgb255(82, 102, 145);
}
Color linkColor() {
    return Color::fromRgb255(50, 79, 133);
}

QString format(const QString& key, const QString& value) {
    return localizedString(key).replace(QStringLiteral("%@"), value);
}

QString format(const QString& key, const QString& first, const QString& second) {
    QString text = localizedString(key);
    text.replace(text.indexOf(QStringLiteral("%@")), 2, first);
    text.replace(text.indexOf(QStringLiteral("%@")), 2, second);
    return text;
}

// A row of lines of text: a bold first line in the summary, a small heading in the notes.
class TextLinesCell : public TableViewCell {
public:
    TextLinesCell(const QString& identifier, bool summary) : TableViewCell(Style::Default, identifier) {
        setSelectionStyle(SelectionStyle::None);
        m_summary = summary;
    }

    void setLines(const QStringList& lines, double width) {
        for (const auto& label : m_labels) {
            label->removeFromSuperview();
        }
        m_labels.clear();
        double y = textInset;
        for (int index = 0; index < lines.size(); ++index) {
            const Font font = fontForLine(index);
            const double height = lineHeight(lines[index], font, width);
            auto label = std::make_shared<Label>(Rect(textInset, y, width, height));
            label->setText(lines[index]);
            label->setFont(font);
            label->setNumberOfLines(0);
            label->setLineBreakMode(LineBreakMode::WordWrap);
            label->setBackgroundColor(std::nullopt);
            label->setTextColor(colorForLine(index));
            contentView().addSubview(label);
            m_labels.push_back(label);
            y += height + (m_summary && index == 0 ? 4.0 : 0.0);
        }
    }

    const std::vector<std::shared_ptr<Label>>& labels() const { return m_labels; }

    static double heightForLines(const QStringList& lines, bool summary, double width) {
        double height = 2.0 * textInset;
        for (int index = 0; index < lines.size(); ++index) {
            height += lineHeight(lines[index], fontForLine(index, summary), width);
            if (summary && index == 0) {
                height += 4.0;
            }
        }
        return std::max(valueRowHeight, height);
    }

private:
    static double lineHeight(const QString& text, const Font& font, double width) {
        return StringDrawing::sizeWithFont(text, font, Size(width, 0), LineBreakMode::WordWrap).height();
    }
    static Font fontForLine(int index, bool summary) {
        if (index > 0) {
            return detailFont();
        }
        return summary ? titleFont() : notesLabelFont();
    }
    Font fontForLine(int index) const { return fontForLine(index, m_summary); }
    Color colorForLine(int index) const {
        if (index == 0) {
            return m_summary ? Color(0, 0, 0) : detailColor();
        }
        return m_summary ? Color::fromRgb255(60, 60, 60) : Color(0, 0, 0);
    }

    bool m_summary = false;
    std::vector<std::shared_ptr<Label>> m_labels;
};

} // namespace

EKEventViewController::EKEventViewController() : TableViewController(TableView::Style::Grouped) {
    setTitle(localizedString(QStringLiteral("Event Details")));
    m_allowsEditing = false;
    m_allowsCalendarPreview = false;
}

void EKEventViewController::viewDidLoad() {
    TableViewController::viewDidLoad();
    tableView()->setAllowsSelection(false);
    updateEditButton();
}

void EKEventViewController::setEvent(std::shared_ptr<EKEvent> event) {
    m_event = std::move(event);
    rebuildSections();
    if (isViewLoaded()) {
        tableView()->reloadData();
    }
}

void EKEventViewController::setAllowsEditing(bool allows) {
    m_allowsEditing = allows;
    updateEditButton();
}

void EKEventViewController::updateEditButton() {
    if (!m_allowsEditing) {
        navigationItem()->setRightBarButtonItem(nullptr);
        return;
    }
    const std::weak_ptr<ViewController> weakSelf = weak_from_this();
    navigationItem()->setRightBarButtonItem(
        std::make_shared<BarButtonItem>(BarButtonItem::SystemItem::Edit, [weakSelf] {
            const auto self = std::static_pointer_cast<EKEventViewController>(weakSelf.lock());
            if (self && self->toEditEvent && self->m_event) {
                self->toEditEvent(self->m_event);
            }
        }));
}

void EKEventViewController::rebuildSections() {
    m_sections.clear();
    if (!m_event) {
        return;
    }
    const EKEvent& event = *m_event;

    QStringList summary;
    summary << (event.title().isEmpty() ? localizedString(QStringLiteral("New Event")) : event.title());
    if (!event.location().isEmpty()) {
        summary << event.location();
    }
    summary << whenText(event);
    m_sections.push_back({Row{Row::Kind::Summary, {}, summary}});

    if (const auto& rule = event.recurrenceRule()) {
        std::vector<Row> repeat{
            Row{Row::Kind::Value, localizedString(QStringLiteral("Repeat")), {repeatText(*rule)}}};
        if (const auto end = repeatEndText(*rule)) {
            repeat.push_back(Row{Row::Kind::Value, localizedString(QStringLiteral("End Repeat")), {*end}});
        }
        m_sections.push_back(repeat);
    }

    if (const auto calendar = event.calendar()) {
        m_sections.push_back(
            {Row{Row::Kind::Calendar, localizedString(QStringLiteral("Calendar")), {calendar->title()}}});
    }

    std::vector<Row> alerts;
    for (const EKAlarm& alarm : event.alarms()) {
        const QString label = alerts.empty() ? localizationKey("Alert") : localizationKey("Second Alert");
        alerts.push_back(Row{Row::Kind::Value, localizedString(label), {alertText(alarm)}});
    }
    if (!alerts.empty()) {
        m_sections.push_back(alerts);
    }

    if (!event.URL().isEmpty()) {
        m_sections.push_back({Row{Row::Kind::Link, localizedString(QStringLiteral("URL")), {event.URL()}}});
    }
    if (!event.notes().isEmpty()) {
        m_sections.push_back(
            {Row{Row::Kind::Notes, {}, {localizedString(QStringLiteral("Notes")), event.notes()}}});
    }
}

QStringList EKEventViewController::whenText(const EKEvent& event) {
    DateTimeFormatter& formatter = DateTimeFormatter::instance();
    const Date start = event.startDate();
    if (event.allDay()) {
        // An all-day event ends at the start of the day after its last day.
        const Date lastDay = std::max(start, event.endDate().addingTimeInterval(-1.0));
        if (DateUtilities::isEqualToDateIgnoreTime(start, lastDay)) {
            return {formatter.formatFullDate(start), localizedString(QStringLiteral("all-day"))};
        }
        return {format(localizationKey("from %@"), formatter.formatFullDate(start)),
                format(localizationKey("to %@"), formatter.formatFullDate(lastDay))};
    }
    const Date end = std::max(start, event.endDate());
    // An event that ends at midnight ends on the day it started.
    const Date lastMoment = end > start ? end.addingTimeInterval(-1.0) : end;
    if (DateUtilities::isEqualToDateIgnoreTime(start, lastMoment)) {
        return {
            formatter.formatFullDate(start),
            format(localizationKey("from %@ to %@"), formatter.formatTime(start), formatter.formatTime(end))};
    }
    return {format(localizationKey("from %@"),
                   formatter.formatFullDate(start) + QLatin1Char(' ') + formatter.formatTime(start)),
            format(localizationKey("to %@"),
                   formatter.formatFullDate(end) + QLatin1Char(' ') + formatter.formatTime(end))};
}

QString EKEventViewController::repeatText(const EKRecurrenceRule& rule) {
    const QString rrule = rule.rrule();
    for (const char* finer : {"FREQ=HOURLY", "FREQ=MINUTELY", "FREQ=SECONDLY"}) {
        if (rrule.contains(QLatin1String(finer))) {
            return localizedString(QStringLiteral("Custom"));
        }
    }
    const int interval = rule.interval();
    switch (rule.frequency()) {
    case EKRecurrenceFrequency::Daily:
        return interval == 1 ? localizedString(QStringLiteral("Every Day"))
                             : format(localizationKey("Every %@ days"), QString::number(interval));
    case EKRecurrenceFrequency::Weekly:
        return interval == 1 ? localizedString(QStringLiteral("Every Week"))
                             : format(localizationKey("Every %@ weeks"), QString::number(interval));
    case EKRecurrenceFrequency::Monthly:
        return interval == 1 ? localizedString(QStringLiteral("Every Month"))
                             : format(localizationKey("Every %@ months"), QString::number(interval));
    case EKRecurrenceFrequency::Yearly:
        return interval == 1 ? localizedString(QStringLiteral("Every Year"))
                             : format(localizationKey("Every %@ years"), QString::number(interval));
    }
    return localizedString(QStringLiteral("Custom"));
}

std::optional<QString> EKEventViewController::repeatEndText(const EKRecurrenceRule& rule) {
    const auto end = rule.recurrenceEnd();
    if (!end) {
        return std::nullopt;
    }
    if (const auto date = end->endDate()) {
        return DateTimeFormatter::instance().formatFullDate(*date);
    }
    const int count = end->occurrenceCount();
    return count == 1 ? localizedString(QStringLiteral("After 1 time"))
                      : format(localizationKey("After %@ times"), QString::number(count));
}

QString EKEventViewController::alertText(const EKAlarm& alarm) {
    const double offset = alarm.relativeOffset();
    if (offset == 0.0) {
        return localizedString(QStringLiteral("At time of event"));
    }
    const bool before = offset < 0.0;
    const double seconds = std::abs(offset);
    QString amount;
    if (std::fmod(seconds, secondsPerDay) == 0.0) {
        const int days = static_cast<int>(seconds / secondsPerDay);
        amount = days == 1 ? localizedString(QStringLiteral("1 day"))
                           : format(localizationKey("%@ days"), QString::number(days));
    } else if (std::fmod(seconds, secondsPerHour) == 0.0) {
        const int hours = static_cast<int>(seconds / secondsPerHour);
        amount = hours == 1 ? localizedString(QStringLiteral("1 hour"))
                            : format(localizationKey("%@ hours"), QString::number(hours));
    } else {
        const int minutes = static_cast<int>(std::round(seconds / secondsPerMinute));
        amount = minutes == 1 ? localizedString(QStringLiteral("1 minute"))
                              : format(localizationKey("%@ minutes"), QString::number(minutes));
    }
    return format(before ? localizationKey("%@ before") : localizationKey("%@ after"), amount);
}

const EKEventViewController::Row& EKEventViewController::rowAt(const IndexPath& indexPath) const {
    return m_sections.at(static_cast<std::size_t>(indexPath.section()))
        .at(static_cast<std::size_t>(indexPath.row()));
}

double EKEventViewController::textWidth() {
    return tableView()->bounds().width() - 2.0 * TableView::groupedSideMargin - 2.0 * textInset;
}

int EKEventViewController::numberOfSectionsInTableView(TableView&) {
    return static_cast<int>(m_sections.size());
}

int EKEventViewController::numberOfRowsInSection(TableView&, int section) {
    if (section < 0 || section >= static_cast<int>(m_sections.size())) {
        return 0;
    }
    return static_cast<int>(m_sections[static_cast<std::size_t>(section)].size());
}

std::shared_ptr<TableViewCell> EKEventViewController::cellForRowAtIndexPath(TableView& tableView,
                                                                            const IndexPath& indexPath) {
    const Row& row = rowAt(indexPath);
    if (row.kind == Row::Kind::Summary || row.kind == Row::Kind::Notes) {
        const bool summary = row.kind == Row::Kind::Summary;
        auto cell = std::make_shared<TextLinesCell>(summary ? summaryIdentifier : notesIdentifier, summary);
        cell->setLines(row.lines, textWidth());
        return cell;
    }
    auto cell = tableView.dequeueReusableCellWithIdentifier(valueIdentifier);
    if (!cell) {
        cell = std::make_shared<TableViewCell>(TableViewCell::Style::Value1, valueIdentifier);
        cell->setSelectionStyle(TableViewCell::SelectionStyle::None);
        cell->textLabel().setFont(Font::boldSystemFontOfSize(15));
        cell->detailTextLabel().setFont(detailFont());
        cell->detailTextLabel().setLineBreakMode(LineBreakMode::TailTruncation);
    }
    cell->textLabel().setText(row.label);
    cell->detailTextLabel().setText(row.lines.value(0));
    cell->detailTextLabel().setTextColor(row.kind == Row::Kind::Link ? linkColor() : detailColor());
    if (row.kind == Row::Kind::Calendar) {
        auto dot = std::make_shared<ImageView>(DotImage::dotImageForColor(m_event->calendar()->color()));
        dot->setFrame(Rect(0, 0, 14, 14));
        cell->setAccessoryView(dot);
    } else {
        cell->setAccessoryView(nullptr);
    }
    return cell;
}

std::optional<double> EKEventViewController::heightForRowAtIndexPath(TableView&, const IndexPath& indexPath) {
    const Row& row = rowAt(indexPath);
    if (row.kind == Row::Kind::Summary || row.kind == Row::Kind::Notes) {
        return TextLinesCell::heightForLines(row.lines, row.kind == Row::Kind::Summary, textWidth());
    }
    return valueRowHeight;
}

std::optional<IndexPath> EKEventViewController::willSelectRowAtIndexPath(TableView&, const IndexPath&) {
    return std::nullopt;
}

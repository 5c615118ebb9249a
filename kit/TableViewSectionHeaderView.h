#pragma once

#include "kit/View.h"

#include <QString>

#include <memory>

class Label;

// The view a table shows for a section's header or footer title when its delegate gives no view
// of its own: in a plain table a translucent grey-blue band with the title in white; in a grouped
// table the title alone on the table's background, bold above a group and smaller and centred
// below it.
class TableViewSectionHeaderView : public View {
public:
    enum class Kind { PlainHeader, PlainFooter, GroupedHeader, GroupedFooter };

    TableViewSectionHeaderView(Kind kind, const QString& title);

    Kind kind() const { return m_kind; }
    QString title() const;
    Label& titleLabel();

    // The height a grouped footer needs for its title at the table's width.
    static double groupedFooterHeight(const QString& title, double tableWidth);
    static constexpr double plainHeight = 22.0;
    static constexpr double groupedSideMargin = 20.0;

protected:
    void drawRect(GraphicsContext& context, const Rect& rect) override;
    void layoutSubviews() override;

private:
    void attachLabel();

    Kind m_kind;
    std::shared_ptr<Label> m_label;
};

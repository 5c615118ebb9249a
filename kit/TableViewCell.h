#pragma once

#include "foundation/Color.h"
#include "kit/TableViewCellBackgroundView.h"
#include "kit/View.h"

#include <QString>

#include <functional>
#include <memory>

class Button;
class ImageView;
class Label;
class TableViewCellEditingControl;

// One row of a table view. The row's own views go into `contentView`; the standard styles fill
// it with a title (`textLabel`), a detail text (`detailTextLabel`) and an image (`imageView`),
// made on first use. On the right an accessory: a standard mark (`accessoryType`) or any view
// (`accessoryView`). Behind the content lies `backgroundView`, and while the row is selected or
// highlighted `selectedBackgroundView` above it, with every label of the content that has a
// highlighted colour (the standard ones: white) and every image view shown highlighted.
//
// Custom rows derive from this class: their layoutSubviews calls TableViewCell::layoutSubviews
// first, and the selection and editing hooks tell them of changes. A row is reused for other
// index paths by the table; `prepareForReuse` resets it.
class TableViewCell : public View {
public:
    enum class Style {
        // A title on the left, after the image.
        Default,
        // A title on the left and a blue-grey detail on the right.
        Value1,
        // A small blue title in a narrow right-aligned column, then a bold detail.
        Value2,
        // A title with a smaller grey detail below it.
        Subtitle,
    };
    enum class AccessoryType { None, DisclosureIndicator, DetailDisclosureButton, Checkmark };
    enum class SelectionStyle { None, Blue, Gray };
    enum class EditingStyle { None, Delete, Insert };

    explicit TableViewCell(Style style = Style::Default, const QString& reuseIdentifier = QString());
    ~TableViewCell() override;

    Style style() const { return m_style; }
    const QString& reuseIdentifier() const { return m_reuseIdentifier; }

    View& contentView();
    Label& textLabel();
    // Shown in every style but the default one.
    Label& detailTextLabel();
    ImageView& imageView();

    AccessoryType accessoryType() const { return m_accessoryType; }
    void setAccessoryType(AccessoryType type);
    // The accessory while the table is in editing mode.
    AccessoryType editingAccessoryType() const { return m_editingAccessoryType; }
    void setEditingAccessoryType(AccessoryType type);
    // Shown instead of the standard accessory when set.
    const std::shared_ptr<View>& accessoryView() const { return m_accessoryView; }
    void setAccessoryView(std::shared_ptr<View> view);

    SelectionStyle selectionStyle() const { return m_selectionStyle; }
    void setSelectionStyle(SelectionStyle style);
    bool selected() const { return m_selected; }
    // Animated, a deselection fades the selection out over 0.3 seconds.
    void setSelected(bool selected, bool animated = false);
    bool highlighted() const { return m_highlighted; }
    void setHighlighted(bool highlighted, bool animated = false);
    // Whether the selection shows now (selected or highlighted, with a selection style).
    bool showsSelection() const;

    // Without one of its own, the row shows the table's standard background.
    std::shared_ptr<View> backgroundView() const;
    void setBackgroundView(std::shared_ptr<View> view);
    // Without one of its own, the row shows the blue or grey gradient of its selection style.
    std::shared_ptr<View> selectedBackgroundView() const;
    void setSelectedBackgroundView(std::shared_ptr<View> view);

    // Editing mode: the control of the editing style at the left, the content moved right
    // (unless it should not indent), the editing accessory on the right.
    bool editing() const { return m_editing; }
    void setEditing(bool editing, bool animated = false);
    EditingStyle editingStyle() const { return m_editingStyle; }
    bool shouldIndentWhileEditing() const { return m_shouldIndentWhileEditing; }
    void setShouldIndentWhileEditing(bool indent);
    // The "Delete" button of a row whose red control was tapped shows.
    bool showingDeleteConfirmation() const { return m_showingDeleteConfirmation; }
    // The editing control and the confirmation button, while they exist (for tests and for
    // rows that restyle them).
    TableViewCellEditingControl* editingControl() const { return m_editingControl.get(); }
    Button* deleteConfirmationButton() const { return m_deleteButton.get(); }
    // The view showing the standard accessory, while there is one.
    View* standardAccessoryView() const { return m_standardAccessory.get(); }

    // Called by the table before it hands the row out again; resets the selection, the
    // highlight and the editing state. Overrides call this one.
    virtual void prepareForReuse();

    // Drawn standard accessory images, at the screen scale.
    static Image checkmarkImage(bool highlighted);
    static Image disclosureIndicatorImage(bool highlighted);
    static Image detailDisclosureButtonImage();
    static Color checkmarkColor() { return Color::fromRgb255(50, 79, 133); }
    static Color value1DetailColor() { return Color::fromRgb255(56, 84, 135); }

protected:
    AccessibilityDescription describeAccessibility() const override;
    void layoutSubviews() override;
    // Hooks: the selection or highlight changed; the editing mode changed.
    virtual void selectionChanged(bool animated);
    virtual void editingChanged(bool animated);

private:
    friend class TableView;

    // Adds the parts as subviews once the row is held by a std::shared_ptr.
    void attachParts();
    void updateSelectionAppearance(bool animated);
    void applyHighlight(View& view, bool highlighted);
    void updateAccessory();
    void updateEditingControl();
    void layoutStandardContent(const Rect& content);
    // Set by the table when it shows the row.
    void configureForTable(bool grouped, TableViewCellBackgroundView::Position position, bool separator,
                           const Color& separatorColor, EditingStyle editingStyle);
    void setShowingDeleteConfirmation(bool showing, bool animated);
    // The action of a part of the row (the accessory button, the editing control, the delete
    // button): passes the tap to the row the part is a subview of, through `report`. A touch in
    // flight keeps the part alive, maybe past its row, so the part sees the row only through its
    // own weak link to the superview.
    using Report = std::function<void(TableViewCell&)> TableViewCell::*;
    static std::function<void()> reportToRow(const std::shared_ptr<View>& part, Report report);

    Style m_style;
    QString m_reuseIdentifier;
    std::shared_ptr<View> m_contentView;
    std::shared_ptr<Label> m_textLabel;
    std::shared_ptr<Label> m_detailTextLabel;
    std::shared_ptr<ImageView> m_imageView;
    std::shared_ptr<View> m_backgroundView;
    std::shared_ptr<View> m_selectedBackgroundView;
    std::shared_ptr<TableViewCellBackgroundView> m_standardBackground;
    std::shared_ptr<TableViewCellBackgroundView> m_standardSelectedBackground;
    std::shared_ptr<View> m_separator;
    std::shared_ptr<View> m_accessoryView;
    std::shared_ptr<View> m_standardAccessory;
    AccessoryType m_standardAccessoryShown = AccessoryType::None;
    std::shared_ptr<TableViewCellEditingControl> m_editingControl;
    std::shared_ptr<Button> m_deleteButton;

    AccessoryType m_accessoryType = AccessoryType::None;
    AccessoryType m_editingAccessoryType = AccessoryType::None;
    SelectionStyle m_selectionStyle = SelectionStyle::Blue;
    bool m_selected = false;
    bool m_highlighted = false;
    bool m_editing = false;
    EditingStyle m_editingStyle = EditingStyle::Delete;
    bool m_shouldIndentWhileEditing = true;
    bool m_showingDeleteConfirmation = false;
    bool m_grouped = false;
    TableViewCellBackgroundView::Position m_position = TableViewCellBackgroundView::Position::Single;
    bool m_separatorShown = true;

    // Set by the table: what the row's controls ask of it.
    std::function<void(TableViewCell&)> m_onEditingControlTapped;
    std::function<void(TableViewCell&)> m_onDeleteConfirmed;
    std::function<void(TableViewCell&)> m_onAccessoryButtonTapped;
};

#pragma once

#include "settings/RecordLayout.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QList>
#include <QSize>
#include <QWidget>
#include <initializer_list>

class CSubSlider;
class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QPainter;
class QPushButton;
class QRadioButton;
class QScrollBar;

// The common base of the settings pages: a borderless 700 x 437 child of the main window that
// shows the shared settings block, lays its controls out in pixels from their measured texts and
// scrolls its whole content vertically.
//
// How a page uses it (in its constructor):
//   1. SetScrollStep(step); CreatePageFonts();
//   2. create every control with the Add...() factories, each under its control id; controls
//      are children of Content() and start zero-sized, like template controls;
//   3. ClearHeadings(), then place headings with PlaceHeading and the other controls with
//      PlaceLabel / MoveControl / SetControlText / PlaceControl, in the fonts HeadingFont(),
//      BoldFont() and TextFont();
//   4. SetScrollRange(range); ConfigureScrollBar();
//   5. Bind() the radios and check boxes that simply mirror a field; LoadFromRecord then calls
//      LoadBindings() beside its own rules.
// Coordinates of the helpers are page client pixels with the content unscrolled: a page is
// built before it scrolls. Controls never laid out keep their zero size; HideUnplaced() makes
// them invisible and takes them out of the tab chain, their handlers stay reachable by id.
//
// Handlers of a page should follow user actions only (QAbstractButton::clicked,
// QAbstractSlider::actionTriggered): LoadFromRecord fills controls without running them.
class CBaseDialog : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CBaseDialog)

public:
    static constexpr int Width = 700;
    static constexpr int Height = 437;
    // The vertical bar takes this much of the page's width; the rest is the client area.
    static constexpr int ScrollBarWidth = 17;
    static constexpr int ClientWidth = Width - ScrollBarWidth;
    static inline const QColor BackgroundColor{254, 254, 254};
    static inline const QColor HeadingRuleColor{163, 181, 198};

    // Scroll-bar codes of OnVScroll.
    enum ScrollCode
    {
        LineUp = 0,
        LineDown = 1,
        PageUp = 2,
        PageDown = 3,
        ThumbPosition = 4,
        ThumbTrack = 5,
        Top = 6,
        Bottom = 7,
        EndScroll = 8,
    };

    CBaseDialog(int templateId, QWidget* parent);
    ~CBaseDialog() override;

    int TemplateId() const { return m_templateId; }

    // Fills the controls from the settings block without running their change handlers.
    virtual void LoadFromRecord() = 0;

    // --- Controls by id ---------------------------------------------------------------------
    // The control registered under `id`, or null.
    QWidget* Control(int id) const;
    template <typename T>
    T* ControlAs(int id) const
    {
        return qobject_cast<T*>(Control(id));
    }
    QAbstractButton* Button(int id) const;
    CSubSlider* Slider(int id) const;
    bool IsChecked(int id) const; // false for a missing or non-checkable control
    bool IsEnabled(int id) const; // the control's own enabled flag; false for a missing control
    // The parent of every control; it is what scrolls.
    QWidget* Content() const { return m_content; }

    // --- Fonts ------------------------------------------------------------------------------
    void CreatePageFonts();
    const QFont& HeadingFont() const { return m_fontHeading; } // Tahoma, 14 px cell, bold
    const QFont& BoldFont() const { return m_fontBold; }       // Tahoma, 13 px cell, bold
    const QFont& TextFont() const { return m_fontText; }       // Tahoma, 13 px cell, regular

    // --- Layout helpers; each does nothing (and returns an empty size) for a missing id -----
    // Trims `text`, gives the control font and text and sizes it to the text: width = text
    // width + 30 (25 when the text is empty), height = the text's height in the system font
    // (25 when that is 0). Returns the size given.
    QSize PlaceLabel(int id, const QString& text, const QFont& font, int x, int y);
    QSize MoveControl(int id, int x, int y, int width, int height);
    // Sets font and text; fitWidth: width = text width + four spaces (nothing for no text).
    void SetControlText(int id, const QFont& font, const QString& text, int x, int y, int width, int height,
                        bool fitWidth);
    // Like SetControlText without touching the control's text; fitWidth: exactly the text width.
    void PlaceControl(int id, const QFont& font, const QString& text, int x, int y, int width, int height,
                      bool fitWidth);
    // Width of the widest line of `text` in `font`.
    static int MeasureTextWidth(const QString& text, const QFont& font);
    // Line height of the system font the label heights are measured in.
    static constexpr int SystemFontLineHeight = 16;

    // --- Section headings --------------------------------------------------------------------
    void ClearHeadings() { m_headingIds.clear(); }
    // Registers `id` as the next heading, so it gets a rule, and places it like PlaceLabel in
    // the heading font.
    QSize PlaceHeading(int id, const QString& text, int x, int y);
    const QList<int>& HeadingIds() const { return m_headingIds; }
    // Paints the rule right of each visible heading, in client coordinates.
    void PaintHeadingRules(QPainter& painter) const;

    // --- Scrolling ----------------------------------------------------------------------------
    int ScrollPos() const { return m_scrollPos; }
    int ScrollRange() const { return m_scrollRange; }
    int ScrollStep() const { return m_scrollStep; }
    void SetScrollStep(int step) { m_scrollStep = step; }
    void SetScrollRange(int range) { m_scrollRange = range; }
    // Bar minimum 0, maximum range + 437, page 437, position 0; disabled (still shown) when
    // nothing can scroll.
    void ConfigureScrollBar();
    int ScrollBarMaximum() const { return m_scrollRange + Height; }
    int ScrollBarPage() const { return Height; }
    QScrollBar* VerticalScrollBar() const { return m_scrollBar; }
    // A scroll-bar event: codes above; `thumb` is the bar's thumb position for codes 4 and 5.
    void OnVScroll(int code, int thumb);
    // One wheel message: one step up for delta > 0, down for delta < 0, nothing for 0.
    void OnMouseWheel(int delta);

    // --- Keys -----------------------------------------------------------------------------
    // Keys the page consumes before its controls see them: Return and Enter on every page, and
    // those the page added with SwallowKey.
    bool SwallowsKey(int key) const;

    // --- Controls tied to fields of the settings block ---------------------------------------
    // One row of a page's binding table; make rows with the factories below.
    struct Binding
    {
        enum class Kind
        {
            Radio,
            CheckBox,
        };
        Kind kind;
        int id;
        const FieldSpec* field; // a 32-bit signed field
        qint32 value;           // radio: stored on a click, checks the radio on loading
        bool fallback;          // radio: also checked for a value no radio of the field names
        bool loaded;            // false: a click stores, loading leaves the control alone
    };
    // A click stores `value`; loading checks the radio exactly when the field holds `value`.
    static constexpr Binding RadioRow(int id, const FieldSpec& field, qint32 value)
    {
        return {Binding::Kind::Radio, id, &field, value, false, true};
    }
    // Like RadioRow, and checked on loading for any value that no radio row of the field names.
    static constexpr Binding FallbackRadioRow(int id, const FieldSpec& field, qint32 value)
    {
        return {Binding::Kind::Radio, id, &field, value, true, true};
    }
    // A click stores 1 when the box is now ticked, 0 when not; loading ticks it for any nonzero
    // value.
    static constexpr Binding CheckBoxRow(int id, const FieldSpec& field)
    {
        return {Binding::Kind::CheckBox, id, &field, 0, false, true};
    }
    // `row` without its loading half.
    static constexpr Binding StoreOnly(Binding row)
    {
        row.loaded = false;
        return row;
    }

protected:
    // --- Control factories: zero-sized children of Content() registered under `id` ----------
    // A read-only, borderless single-line label.
    QLineEdit* AddLabel(int id, Qt::Alignment alignment = Qt::AlignLeft);
    // A radio button in the exclusive group `group` (a page-chosen number): radios of one
    // group exclude each other and never touch another group.
    QRadioButton* AddRadio(int id, int group);
    QCheckBox* AddCheckBox(int id);
    QPushButton* AddPushButton(int id);
    CSubSlider* AddSlider(int id);
    // Registers any other control, reparenting it to Content().
    template <typename T>
    T* AddControl(int id, T* control)
    {
        Register(id, control);
        return control;
    }
    // Checks or unchecks a radio or check box without running a handler; unchecking works in
    // exclusive groups too (the group may be left with nothing checked).
    void SetChecked(int id, bool checked);
    void SetEnabled(int id, bool enabled);
    // Hides every registered control that was never given a size.
    void HideUnplaced();

    // Adds rows to the page's binding table and ties each row's control (created before) to its
    // field: a user's click (QAbstractButton::clicked) stores into the shared settings block.
    void Bind(std::initializer_list<Binding> rows);
    // Stores the field of the row for control `id` as a click on it does; nothing without a
    // settings block. Returns false when no row has that id.
    bool StoreBinding(int id);
    // The loading half of the table: checks and unchecks the rows' controls from the settings
    // block with SetChecked, so no handler runs; nothing without a settings block.
    void LoadBindings();

    // Adds a key that the page consumes before its controls see it.
    void SwallowKey(int key) { m_extraSwallowedKeys.append(key); }

    // A click on the page's own background (not on a control).
    virtual void OnBackgroundPressed() {}
    // Paints the page's own items over the background; the default paints the heading rules.
    virtual void PaintPage(QPainter& painter);

    bool eventFilter(QObject* watched, QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

    int m_scrollPos = 0;
    int m_scrollRange = 0;
    int m_scrollStep = 0;

private:
    class ContentWidget;
    void Register(int id, QWidget* control);
    void OnBarAction(int action);
    void ScrollBy(int delta);
    void SetBarPosition(int position);

    const int m_templateId;
    QWidget* m_content = nullptr;
    QScrollBar* m_scrollBar = nullptr;
    QHash<int, QWidget*> m_controls;
    QList<int> m_controlOrder;
    QHash<int, QButtonGroup*> m_radioGroups;
    QList<Binding> m_bindings;
    QList<int> m_extraSwallowedKeys;
    QList<int> m_headingIds;
    QFont m_fontHeading;
    QFont m_fontBold;
    QFont m_fontText;
    bool m_settingBar = false;
};

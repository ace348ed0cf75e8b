#pragma once
// A line edit for the colour read-outs. Their text changes with nearly every sampled colour, up to a
// hundred times a second, and while the user is not editing it is a short run of digits and A..F. Then
// the field paints from glyph pictures drawn once with its own font and colours: no text layout and no
// style pass per change, which were most of what a moving cursor cost. Anything else (focus, a selection,
// other characters, right-to-left, text wider than the field) paints as any line edit.
//
// Setting a line edit's text lays it out, emits signals and notifies accessibility, about as much
// again as the paint. A read-out shown with showText() paints the new text at once and hands it to the
// line edit itself only when committed: by its owner (the window, at the pace it writes its title),
// before any event but a paint reaches the field, and at once while the field has the focus or cannot
// paint the text itself.
#include "app/ReadoutGlyphs.h"

#include <QLineEdit>

namespace tintara {

class ReadoutEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit ReadoutEdit(QWidget* parent = nullptr);

    void showText(QLatin1StringView text);
    void commitText();
    bool hasUncommittedText() const { return uncommitted_; }
    // What the field shows. Hides QLineEdit::text(), which lags behind until the next commit: only
    // the toolkit and accessibility reach the field through a plain line edit.
    const QString& text() const { return shown_; }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    bool canPaintFromGlyphs();
    bool paintFromGlyphs(const QPaintEvent& event);
    void prepareGlyphs();

    ReadoutGlyphs glyphs_;
    QString shown_;
    bool uncommitted_ = false; // shown_ is newer than the line edit's text
    bool caretToStart_ = false; // rewritten without focus: the caret goes to the start with the focus
    QPoint textOrigin_; // top-left of the first glyph cell
    QRect contents_;
};

} // namespace tintara

// The EDIT class over QLineEdit (single line) and QTextEdit (multi-line, plain
// text; a plain-text widget cannot set lines apart).
// Texts are GBK with byte lengths; multi-line texts use CR LF line ends.
// Typed characters arrive as WM_CHAR (double-byte characters as two bytes)
// and are inserted by this procedure, so a subclass sees them first.
// Undo has one level, as a Win32 edit's: the text before the last change,
// which an undo swaps with the text (so a second undo undoes the first).
// A right-click, Shift+F10 or the context-menu key shows the edit's own menu.
#include <QtGui/QClipboard>
#include <QtGui/QFontMetrics>
#include <QtGui/QGuiApplication>
#include <QtGui/QPainter>
#include <QtGui/QTextBlockFormat>
#include <QtGui/QTextCursor>
#include <QtGui/QTextDocument>
#include <QtGui/QTextOption>
#include <QtWidgets/QApplication>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QScrollBar>
#include <QtWidgets/QTextEdit>

#include <climits>

#include "core.h"
#include "platform/gbk/gbk.h"

namespace w32 {
namespace {

// What a change continues: typed characters, or characters erased with
// Backspace or Delete, at the caret where the last one left it, make one
// change for undo.
enum Run { kNoRun, kTyping, kErasing };

// The one level of undo: whether it holds a text (which may be empty), the
// text an undo gives back, and the run the last change was part of with the
// caret where that run ended (a key there continues it).
struct UndoBuffer {
    bool holdsText = false;
    QString textBefore;
    Run lastRun = kNoRun;
    int lastRunCaret = -1;
};

struct EditState : ControlState {
    bool multi = false;
    int limit = 32767;       // bytes (a multi-line edit takes any length until EM_LIMITTEXT)
    unsigned char lead = 0;  // first byte of a double-byte character typed
    int quiet = 0;           // > 0: text changes are the procedure's own, no EN_CHANGE
    // Undo: the buffer; the text as of the last change (which the buffer
    // takes at the next); and the user's edit in progress (an UndoStep): how
    // deep its scopes nest, its run, whether it continues the buffer's last
    // run (and so keeps the buffer's text) and whether it has changed the
    // text yet.
    UndoBuffer undo;
    QString lastText;
    int stepDepth = 0;
    Run stepRun = kNoRun;
    bool stepContinuesRun = false;
    bool stepChangedText = false;
};

EditState* St(Window* w) { return w ? w->State<EditState>() : nullptr; }
QLineEdit* Line(Window* w) { return w ? qobject_cast<QLineEdit*>(w->widget) : nullptr; }
QTextEdit* Multi(Window* w) { return w ? qobject_cast<QTextEdit*>(w->widget) : nullptr; }

QString Text(Window* w) {
    if (QLineEdit* l = Line(w)) return l->text();
    if (QTextEdit* m = Multi(w)) return m->toPlainText();
    return QString();
}

// The text in GBK as the program reads it (CR LF line ends).
std::string GbkText(Window* w) {
    QString t = Text(w);
    if (St(w)->multi) t.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return FromQt(t);
}

// Character index <-> GBK byte offset (CR LF counts two in multi-line text).
int ByteCount(QChar c, bool multi) {
    ushort u = c.unicode();
    return u < 0x80 ? ((multi && u == '\n') ? 2 : 1) : 2;
}

int CharToByte(const QString& s, int idx, bool multi) {
    int n = 0;
    for (int i = 0; i < idx && i < s.size(); ++i) n += ByteCount(s[i], multi);
    return n;
}

int ByteToChar(const QString& s, int bytes, bool multi) {
    int n = 0, i = 0;
    for (; i < s.size() && n < bytes; ++i) n += ByteCount(s[i], multi);
    return i;
}

void GetSel(Window* w, int* start, int* end) {
    bool multi = St(w)->multi;
    QString t = Text(w);
    int s = 0, e = 0;
    if (QLineEdit* l = Line(w)) {
        if (l->hasSelectedText()) {
            s = l->selectionStart();
            e = s + int(l->selectedText().size());
        } else {
            s = e = l->cursorPosition();
        }
    } else if (QTextEdit* m = Multi(w)) {
        QTextCursor c = m->textCursor();
        s = c.selectionStart();
        e = c.selectionEnd();
    }
    *start = CharToByte(t, s, multi);
    *end = CharToByte(t, e, multi);
}

void SetSel(Window* w, int start, int end) {
    bool multi = St(w)->multi;
    QString t = Text(w);
    int len = int(t.size());
    if (start < 0) {  // -1: no selection, caret stays
        if (QLineEdit* l = Line(w)) l->deselect();
        if (QTextEdit* m = Multi(w)) {
            QTextCursor c = m->textCursor();
            c.clearSelection();
            m->setTextCursor(c);
        }
        return;
    }
    int s = ByteToChar(t, start, multi);
    int e = end < 0 ? len : ByteToChar(t, end, multi);
    if (QLineEdit* l = Line(w)) {
        if (s == e)
            l->setCursorPosition(s);
        else
            l->setSelection(s, e - s);
    }
    if (QTextEdit* m = Multi(w)) {
        QTextCursor c = m->textCursor();
        c.setPosition(s);
        c.setPosition(e, QTextCursor::KeepAnchor);
        m->setTextCursor(c);
    }
}

QString SelectedText(Window* w) {
    if (QLineEdit* l = Line(w)) return l->selectedText();
    if (QTextEdit* m = Multi(w)) return m->textCursor().selectedText().replace(QChar(0x2029), QLatin1Char('\n'));
    return QString();
}

bool ReadOnly(Window* w) { return (w->style & ES_READONLY) != 0; }

// A password edit never gives its text away.
bool IsPassword(Window* w) {
    QLineEdit* l = Line(w);
    return l && l->echoMode() != QLineEdit::Normal;
}

int Caret(Window* w) {
    if (QLineEdit* l = Line(w)) return l->cursorPosition();
    if (QTextEdit* m = Multi(w)) return m->textCursor().position();
    return 0;
}

// Every change of the text: the undo buffer takes the text before it, but
// for the later changes of one UndoStep and for one that continues a run.
void NoteChange(Window* w) {
    EditState* s = St(w);
    QString now = Text(w);
    if (now == s->lastText) return;
    if (!s->stepDepth || (!s->stepChangedText && !s->stepContinuesRun)) {
        s->undo.holdsText = true;
        s->undo.textBefore = s->lastText;
    }
    if (s->stepDepth)
        s->stepChangedText = true;
    else
        s->undo.lastRun = kNoRun;
    s->lastText = now;
}

// A change the user makes through the edit (typing, erasing, a paste, a cut,
// an undo), as one undo step.
class UndoStep {
public:
    UndoStep(Window* w, Run run) : h_(w->hwnd) {
        EditState* s = St(w);
        if (s->stepDepth++) return;
        s->stepRun = run;
        s->stepChangedText = false;
        s->stepContinuesRun = run != kNoRun && s->undo.holdsText && s->undo.lastRun == run &&
                              SelectedText(w).isEmpty() && Caret(w) == s->undo.lastRunCaret;
    }
    ~UndoStep() {
        Window* w = FromHwnd(h_);
        EditState* s = St(w);
        if (!s || --s->stepDepth || !s->stepChangedText) return;
        s->undo.lastRun = s->stepRun;
        s->undo.lastRunCaret = Caret(w);
    }

private:
    HWND h_;
};

void ApplyReadOnly(Window* w) {
    bool ro = ReadOnly(w);
    if (QLineEdit* l = Line(w)) l->setReadOnly(ro);
    if (QTextEdit* m = Multi(w)) m->setReadOnly(ro);
    if (w->widget) RepaintWhole(w->widget);  // its colours change
}

// The colours an edit paints in, asked of its parent before each paint as a
// Win32 edit asks them: WM_CTLCOLORSTATIC for a disabled or read-only edit
// (the face colour unless the parent answers with a brush of its own),
// WM_CTLCOLOREDIT for the others; a disabled edit's text is grey whatever
// the parent sets.
void AskColours(QWidget* widget) {
    Window* w = FromWidget(widget);
    if (!w || !w->parent || !St(w) || w->widget != widget) return;
    const HWND h = w->hwnd;
    const bool disabled = !w->Enabled(), asStatic = disabled || ReadOnly(w);
    HDC dc = CreateCompatibleDC(nullptr);
    auto* brush = reinterpret_cast<HBRUSH>(Send(w->parent, asStatic ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT,
                                                reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(h)));
    COLORREF text = disabled ? GetSysColor(COLOR_GRAYTEXT) : GetTextColor(dc);
    DeleteDC(dc);
    LOGBRUSH lb{};
    if (!brush || GetObjectA(brush, sizeof lb, &lb) != int(sizeof lb) || lb.lbStyle != BS_SOLID)
        lb.lbColor = GetSysColor(asStatic ? COLOR_BTNFACE : COLOR_WINDOW);
    if (FromHwnd(h) != w) return;
    QPalette p = widget->palette();
    if (p.color(QPalette::Base) == ToQColor(lb.lbColor) && p.color(QPalette::Text) == ToQColor(text)) return;
    p.setColor(QPalette::Base, ToQColor(lb.lbColor));
    p.setColor(QPalette::Text, ToQColor(text));
    widget->setPalette(p);
}

// A single-line edit's widget, which asks its colours before it paints.
class LineWidget : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

protected:
    void paintEvent(QPaintEvent* e) override {
        AskColours(this);
        QLineEdit::paintEvent(e);
    }
};

// A multi-line edit's widget, which asks its colours before its viewport
// paints.
class TextWidget : public QTextEdit {
public:
    using QTextEdit::QTextEdit;

protected:
    // The viewport filled its background before the colours were asked.
    void paintEvent(QPaintEvent* e) override {
        AskColours(this);
        QPainter(viewport()).fillRect(e->rect(), palette().base());
        QTextEdit::paintEvent(e);
    }
};

// Sets a multi-line edit's text with lines a few pixels apart, as a Win32
// edit sets them (Qt sets them without leading); lines typed later take the
// format of the line they are split from. The modified flag starts afresh,
// the caret at the start; the document keeps no undo history (the edit keeps
// its own).
void SetPlainText(QTextEdit* m, const QString& t) {
    QTextDocument* doc = m->document();
    doc->setUndoRedoEnabled(false);
    m->setPlainText(QString());
    QTextCursor c(doc);
    QTextBlockFormat f;
    f.setLineHeight(3, QTextBlockFormat::LineDistanceHeight);
    c.setBlockFormat(f);
    c.insertText(t);
    doc->setModified(false);
    m->moveCursor(QTextCursor::Start);
}

void SetText(Window* w, const char* gbkText) {
    EditState* s = St(w);
    QString t = ToQt(gbkText ? gbkText : "");
    if (s->multi) {
        t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        t.remove(QLatin1Char('\r'));
        ++s->quiet;  // a multi-line edit sends no EN_CHANGE for WM_SETTEXT
        SetPlainText(Multi(w), t);
        --s->quiet;
    } else if (QLineEdit* l = Line(w)) {
        l->setText(t);
        l->setCursorPosition(0);
    }
    w->text = gbkText ? gbkText : "";
    s->lastText = Text(w);
    s->undo = UndoBuffer();
}

// Inserts typed text if the byte limit allows it; without ES_AUTOHSCROLL a
// single-line edit takes as much of it as its visible width shows.
bool InsertTyped(Window* w, const QString& ins) {
    EditState* s = St(w);
    QString cur = Text(w);
    auto bytes = [&](const QString& t) { return CharToByte(t, int(t.size()), s->multi); };
    int after = bytes(cur) - bytes(SelectedText(w)) + bytes(ins);
    if (after > s->limit) {
        NotifyCommand(w, EN_MAXTEXT);
        MessageBeep(0);
        return false;
    }
    if (QLineEdit* l = Line(w)) {
        qsizetype fits = ins.size();
        if (!(w->style & ES_AUTOHSCROLL)) {
            int a = l->hasSelectedText() ? l->selectionStart() : l->cursorPosition();
            int n = l->hasSelectedText() ? int(l->selectedText().size()) : 0;
            int room = l->contentsRect().width() - 6;
            QFontMetrics fm(l->font());
            auto wide = [&](qsizetype k) {
                QString cand = QString(cur).replace(a, n, ins.left(k));
                if (l->echoMode() == QLineEdit::Password) cand = QString(cand.size(), QChar(0x25CF));
                return fm.horizontalAdvance(cand) > room;
            };
            if (wide(fits)) {  // the longest start of it that is not too wide
                qsizetype lo = 0, hi = fits - 1;
                while (lo < hi)
                    if (qsizetype mid = (lo + hi + 1) / 2; wide(mid))
                        hi = mid - 1;
                    else
                        lo = mid;
                fits = lo;
            }
            if (fits < ins.size()) MessageBeep(0);
            if (fits == 0) return false;
        }
        l->insert(ins.left(fits));
    } else if (QTextEdit* m = Multi(w)) {
        m->textCursor().insertText(ins);
        m->ensureCursorVisible();
    }
    return true;
}

// Pastes the clipboard's text as typed text goes in: characters GBK lacks
// become "?", and as much of it as the byte limit leaves room for, cut on a
// character boundary; a single-line edit takes the first line.
void Paste(Window* w) {
    EditState* s = St(w);
    if (ReadOnly(w)) return;
    QString clip = QGuiApplication::clipboard()->text();
    clip.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    clip.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (!s->multi) {
        qsizetype nl = clip.indexOf(QLatin1Char('\n'));
        if (nl >= 0) clip.truncate(nl);
    }
    clip = ToQt(FromQt(clip));
    if (clip.isEmpty()) return;
    QString cur = Text(w);
    int used = CharToByte(cur, int(cur.size()), s->multi);
    QString sel = SelectedText(w);
    used -= CharToByte(sel, int(sel.size()), s->multi);
    int room = s->limit - used;
    int fits = ByteToChar(clip, std::max(room, 0), s->multi);
    if (fits > 0 && CharToByte(clip, fits, s->multi) > room) --fits;  // the last one would not fit whole
    if (fits < clip.size()) {
        clip.truncate(fits);
        NotifyCommand(w, EN_MAXTEXT);
        if (clip.isEmpty()) {
            MessageBeep(0);
            return;
        }
    }
    UndoStep step(w, kNoRun);
    InsertTyped(w, clip);
}

void Cut(Window* w) {
    if (ReadOnly(w) || IsPassword(w)) return;
    UndoStep step(w, kNoRun);
    if (QLineEdit* l = Line(w)) l->cut();
    if (QTextEdit* m = Multi(w)) m->cut();
}

void Copy(Window* w) {
    if (IsPassword(w)) return;
    if (QLineEdit* l = Line(w)) l->copy();
    if (QTextEdit* m = Multi(w)) m->copy();
}

void Clear(Window* w) {
    if (ReadOnly(w)) return;
    UndoStep step(w, kNoRun);
    if (QLineEdit* l = Line(w)) l->del();
    if (QTextEdit* m = Multi(w)) m->textCursor().removeSelectedText();
}

// Swaps the text with the undo buffer's, changing only the part that
// differs, which is then selected.
bool Undo(Window* w) {
    EditState* s = St(w);
    if (!s->undo.holdsText) return false;
    const QString back = s->undo.textBefore, cur = Text(w);
    qsizetype head = 0, tail = 0;
    while (head < cur.size() && head < back.size() && cur[head] == back[head]) ++head;
    while (tail < cur.size() - head && tail < back.size() - head &&
           cur[cur.size() - 1 - tail] == back[back.size() - 1 - tail])
        ++tail;
    const QString ins = back.mid(head, back.size() - head - tail);
    const bool multi = s->multi;
    const HWND h = w->hwnd;
    {
        UndoStep step(w, kNoRun);
        SetSel(w, CharToByte(cur, int(head), multi), CharToByte(cur, int(cur.size() - tail), multi));
        if (QLineEdit* l = Line(w)) l->insert(ins);
        if (QTextEdit* m = Multi(w)) m->textCursor().insertText(ins);
    }
    if ((w = FromHwnd(h)) && St(w))
        SetSel(w, CharToByte(back, int(head), multi), CharToByte(back, int(head + ins.size()), multi));
    return true;
}

// The edit's own context menu, its items enabled as the edit can act; the
// items' ids are the messages they send. Shown at `at` (screen), or at the
// caret when it came from the keyboard (-1, -1).
void ContextMenu(Window* w, LPARAM at) {
    HWND h = w->hwnd;
    if (GetFocus() != h) {
        SetFocus(h);
        if (!(w = FromHwnd(h))) return;
    }
    EditState* s = St(w);
    const QString text = Text(w), sel = SelectedText(w);
    const bool ro = ReadOnly(w), password = IsPassword(w), selected = !sel.isEmpty();
    const bool clip = !QGuiApplication::clipboard()->text().isEmpty();
    const struct {
        UINT id;
        const char16_t* caption;
        bool enabled;
    } items[] = {
        {WM_UNDO, u"撤消(&U)", s->undo.holdsText && !ro},
        {0, nullptr, false},
        {WM_CUT, u"剪切(&T)", selected && !ro && !password},
        {WM_COPY, u"复制(&C)", selected && !password},
        {WM_PASTE, u"粘贴(&P)", clip && !ro},
        {WM_CLEAR, u"删除(&D)", selected && !ro},
        {0, nullptr, false},
        {EM_SETSEL, u"全选(&A)", !text.isEmpty() && sel.size() < text.size()},
    };
    HMENU menu = CreatePopupMenu();
    for (const auto& it : items) {
        if (!it.caption) {
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        AppendMenuA(menu, it.enabled ? MF_STRING : MF_GRAYED, it.id, FromQt(QString::fromUtf16(it.caption)).c_str());
    }
    QPoint p(GET_X_LPARAM(at), GET_Y_LPARAM(at));
    if (p == QPoint(-1, -1)) {
        if (QLineEdit* l = Line(w))
            p = l->mapToGlobal(l->inputMethodQuery(Qt::ImCursorRectangle).toRect().bottomLeft());
        if (QTextEdit* m = Multi(w)) p = m->viewport()->mapToGlobal(m->cursorRect().bottomLeft());
    }
    UINT id = UINT(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, p.x(), p.y(), 0, h, nullptr));
    DestroyMenu(menu);
    if (id == EM_SETSEL)
        SendMessageA(h, EM_SETSEL, 0, -1);
    else if (id)
        SendMessageA(h, id, 0, 0);
}

void OnChar(Window* w, WPARAM wp) {
    EditState* s = St(w);
    unsigned char b = (unsigned char)(wp & 0xFF);
    if (s->lead) {
        char two[2] = {char(s->lead), char(b)};
        s->lead = 0;
        if (!ReadOnly(w)) {
            UndoStep step(w, kTyping);
            InsertTyped(w, ToQt(std::string_view(two, 2)));
        }
        return;
    }
    if (gbk::IsLeadByte(b)) {
        s->lead = b;
        return;
    }
    if (ReadOnly(w)) return;
    UndoStep step(w, kTyping);
    if (b == '\r') {
        if (s->multi) InsertTyped(w, QStringLiteral("\n"));
        return;
    }
    if (b == '\t') {
        if (s->multi) InsertTyped(w, QStringLiteral("\t"));
        return;
    }
    if (b < 0x20) return;  // editing keys act on WM_KEYDOWN
    QChar c = QLatin1Char(char(b));
    if ((w->style & ES_NUMBER) && !c.isDigit()) {
        MessageBeep(0);
        return;
    }
    if (w->style & ES_UPPERCASE) c = c.toUpper();
    if (w->style & ES_LOWERCASE) c = c.toLower();
    InsertTyped(w, QString(c));
}

// The undo buffer follows every change; EN_CHANGE for a change the user
// made (not the procedure's own).
void OnTextChanged(HWND h) {
    Window* w = FromHwnd(h);
    EditState* s = St(w);
    if (!s || !w->widget) return;
    NoteChange(w);
    if (s->quiet == 0) NotifyCommand(w, EN_CHANGE);
}

QWidget* MakeEdit(Window* w, QWidget* parent) {
    auto st = std::make_unique<EditState>();
    st->multi = (w->style & ES_MULTILINE) != 0;
    if (st->multi) st->limit = 0x7FFFFFFE;
    EditState* s = st.get();
    w->state = std::move(st);
    HWND h = w->hwnd;
    bool border = (w->style & WS_BORDER) || (w->exStyle & WS_EX_CLIENTEDGE);
    QWidget* widget = nullptr;
    if (s->multi) {
        auto* m = new TextWidget(parent);
        m->setAcceptRichText(false);
        m->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        m->setFrameShape(border ? QFrame::StyledPanel : QFrame::NoFrame);
        bool wrap = !(w->style & (ES_AUTOHSCROLL | WS_HSCROLL));
        m->setLineWrapMode(wrap ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
        m->setVerticalScrollBarPolicy((w->style & WS_VSCROLL) ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
        m->setHorizontalScrollBarPolicy((w->style & WS_HSCROLL) ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
        m->setTabChangesFocus(false);
        m->setContextMenuPolicy(Qt::NoContextMenu);
        m->setFont(DefaultControlFont());
        QString t = ToQt(w->text);
        t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        SetPlainText(m, t);
        AttachInput(w, m->viewport());
        m->viewport()->setCursor(Qt::IBeamCursor);
        for (QScrollBar* sb : {m->verticalScrollBar(), m->horizontalScrollBar()}) sb->setFocusPolicy(Qt::NoFocus);
        QObject::connect(m, &QTextEdit::textChanged, m, [h] { OnTextChanged(h); });
        s->lastText = m->toPlainText();
        widget = m;
    } else {
        auto* l = new LineWidget(parent);
        l->setMaxLength(INT_MAX);
        l->setFrame(border);
        l->setContextMenuPolicy(Qt::NoContextMenu);
        l->setFont(DefaultControlFont());
        if (w->style & ES_PASSWORD) l->setEchoMode(QLineEdit::Password);
        if (w->style & ES_CENTER)
            l->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
        else if (w->style & ES_RIGHT)
            l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        l->setText(ToQt(w->text));
        l->setCursorPosition(0);
        QObject::connect(l, &QLineEdit::textChanged, l, [h] { OnTextChanged(h); });
        s->lastText = l->text();
        widget = l;
    }
    widget->setFocusPolicy(Qt::StrongFocus);
    widget->setAttribute(Qt::WA_InputMethodEnabled);
    return widget;
}

LRESULT CALLBACK EditProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    Window* w = FromHwnd(h);
    EditState* s = St(w);
    if (!s || !w->widget) return DefWindowProcA(h, msg, wp, lp);
    switch (msg) {
    case WM_CREATE: ApplyReadOnly(w); return 0;
    case WM_GETTEXT: return CopyText(reinterpret_cast<char*>(lp), int(wp), GbkText(w));
    case WM_GETTEXTLENGTH: return LRESULT(GbkText(w).size());
    case WM_SETTEXT: SetText(w, reinterpret_cast<const char*>(lp)); return TRUE;
    case WM_SETFONT:
        w->font = reinterpret_cast<HFONT>(wp);
        w->widget->setFont(FontOf(w->font));
        return 0;
    case WM_GETDLGCODE: {
        LRESULT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
        auto* m = reinterpret_cast<const MSG*>(lp);
        if (s->multi && (w->style & ES_WANTRETURN) && m && m->message == WM_KEYDOWN && m->wParam == VK_RETURN)
            code |= DLGC_WANTALLKEYS;
        return code;
    }
    case EM_SETSEL: SetSel(w, int(wp), int(lp)); return 0;
    case EM_GETSEL: {
        int a = 0, b = 0;
        GetSel(w, &a, &b);
        if (wp) *reinterpret_cast<DWORD*>(wp) = DWORD(a);
        if (lp) *reinterpret_cast<DWORD*>(lp) = DWORD(b);
        return MAKELONG(a, b);
    }
    case EM_REPLACESEL: {
        QString t = ToQt(reinterpret_cast<const char*>(lp));
        if (s->multi) t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        {
            UndoStep step(w, kNoRun);
            if (QLineEdit* l = Line(w)) l->insert(t);
            if (QTextEdit* m = Multi(w)) m->textCursor().insertText(t);
        }
        if (!wp && (w = FromHwnd(h)) && (s = St(w))) s->undo = UndoBuffer();
        return 0;
    }
    case EM_LIMITTEXT: s->limit = wp == 0 ? 0x7FFFFFFE : int(std::min<WPARAM>(wp, 0x7FFFFFFE)); return 0;
    case EM_GETLIMITTEXT: return s->limit;
    case EM_SETREADONLY:
        if (wp)
            w->style |= ES_READONLY;
        else
            w->style &= ~ES_READONLY;
        ApplyReadOnly(w);
        return TRUE;
    case EM_GETMODIFY:
        if (QLineEdit* l = Line(w)) return l->isModified();
        return Multi(w)->document()->isModified();
    case EM_SETMODIFY:
        if (QLineEdit* l = Line(w)) l->setModified(wp != 0);
        if (QTextEdit* m = Multi(w)) m->document()->setModified(wp != 0);
        return 0;
    case EM_GETLINECOUNT:
        if (QTextEdit* m = Multi(w)) return m->document()->blockCount();
        return 1;
    case EM_SETPASSWORDCHAR:
        if (QLineEdit* l = Line(w)) l->setEchoMode(wp ? QLineEdit::Password : QLineEdit::Normal);
        return 0;
    case EM_CANUNDO: return s->undo.holdsText;
    case EM_UNDO:
    case WM_UNDO: return Undo(w) || !s->multi;  // a single-line edit answers TRUE
    case EM_EMPTYUNDOBUFFER: s->undo = UndoBuffer(); return 0;
    case EM_SCROLLCARET:
        if (QTextEdit* m = Multi(w)) m->ensureCursorVisible();
        return TRUE;
    case WM_CUT: Cut(w); return 0;
    case WM_COPY: Copy(w); return 0;
    case WM_PASTE: Paste(w); return 0;
    case WM_CLEAR: Clear(w); return 0;
    case WM_CONTEXTMENU: ContextMenu(w, lp); return 0;
    case WM_CHAR: OnChar(w, wp); return 0;
    case WM_KEYDOWN: {
        // Characters come as WM_CHAR; Enter, Tab and Esc do nothing here.
        if (wp == VK_RETURN || wp == VK_TAB || wp == VK_ESCAPE) return 0;
        bool ctrl = GetKeyState(VK_CONTROL) < 0, shift = GetKeyState(VK_SHIFT) < 0, alt = GetKeyState(VK_MENU) < 0;
        // The editing keys act as the edit's own commands, never through
        // the widget's (its undo has many levels and a redo).
        if (wp == 'Z' && ctrl) {
            if (!ReadOnly(w)) Undo(w);
            return 0;
        }
        if (wp == 'Y' && ctrl) return 0;
        if ((wp == 'X' && ctrl) || (wp == VK_DELETE && shift && !ctrl)) {
            Cut(w);
            return 0;
        }
        if ((wp == 'C' || wp == VK_INSERT) && ctrl && !shift) {
            Copy(w);
            return 0;
        }
        if ((wp == 'V' && ctrl && !shift) || (wp == VK_INSERT && shift && !ctrl)) {
            Paste(w);
            return 0;
        }
        if (wp == VK_F10 && shift && !ctrl) {
            SendMessageA(h, WM_CONTEXTMENU, WPARAM(h), MAKELPARAM(-1, -1));
            return 0;
        }
        std::string before = GbkText(w);
        UndoBuffer kept = s->undo;
        {
            bool erase = (wp == VK_BACK || wp == VK_DELETE) && !ctrl && !shift && !alt;
            UndoStep step(w, erase ? kErasing : kNoRun);
            DefaultInput(w, msg, wp, lp, false);
        }
        if ((w = FromHwnd(h)) && (s = St(w))) {
            // A paste may not break the byte limit.
            std::string after = GbkText(w);
            if (int(after.size()) > s->limit && after.size() > before.size()) {
                ++s->quiet;
                SetText(w, before.c_str());
                --s->quiet;
                s->undo = kept;
                MessageBeep(0);
            }
        }
        return 0;
    }
    case WM_SYSKEYDOWN:
        // Alt+Backspace undoes as Ctrl+Z does; other keys with Alt go to the
        // default procedure.
        if (wp != VK_BACK) break;
        if (!ReadOnly(w)) Undo(w);
        return 0;
    case WM_KEYUP:
        if (wp == VK_RETURN || wp == VK_TAB || wp == VK_ESCAPE) return 0;
        DefaultInput(w, msg, wp, lp, false);
        if (wp == VK_APPS && (w = FromHwnd(h))) SendMessageA(h, WM_CONTEXTMENU, WPARAM(h), MAKELPARAM(-1, -1));
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MOUSEWHEEL:
        if ((msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK) && GetFocus() != h) {
            SetFocus(h);
            if (!(w = FromHwnd(h))) return 0;
        }
        DefaultInput(w, msg, wp, lp);
        if (msg == WM_MOUSEWHEEL && !s->multi) return DefWindowProcA(h, msg, wp, lp);
        if (msg == WM_RBUTTONUP && FromHwnd(h)) {
            // What DefWindowProc does with a right-button release.
            POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
            ClientToScreen(h, &at);
            SendMessageA(h, WM_CONTEXTMENU, WPARAM(h), MAKELPARAM(at.x, at.y));
        }
        return 0;
    }
    return DefWindowProcA(h, msg, wp, lp);
}

}  // namespace

void RegisterEditClass() {
    RegisterBuiltinClass("EDIT", CS_DBLCLKS | CS_PARENTDC, EditProc, LoadCursorA(nullptr, IDC_IBEAM), nullptr,
                         MakeEdit);
}

}  // namespace w32

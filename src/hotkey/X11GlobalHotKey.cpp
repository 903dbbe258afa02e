#include "X11GlobalHotKey.h"

#include "KeyTable.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace furrow {

namespace {

constexpr quint32 kKeysymNumLock = 0xff7f;
constexpr quint32 kKeysymAltL = 0xffe9;
constexpr quint32 kKeysymAltR = 0xffea;
constexpr quint32 kKeysymSuperL = 0xffeb;
constexpr quint32 kKeysymSuperR = 0xffec;

struct FreeDeleter
{
    void operator()(void *pointer) const { std::free(pointer); }
};
template<typename T>
using XcbReply = std::unique_ptr<T, FreeDeleter>;

// The server's keycode ↔ keysym table, read once per registration.
class KeyboardMapping
{
public:
    explicit KeyboardMapping(xcb_connection_t *connection)
    {
        const xcb_setup_t *setup = xcb_get_setup(connection);
        m_min = setup->min_keycode;
        const auto count = quint8(setup->max_keycode - setup->min_keycode + 1);
        m_reply.reset(xcb_get_keyboard_mapping_reply(
            connection, xcb_get_keyboard_mapping(connection, m_min, count), nullptr));
    }

    bool has(xcb_keycode_t keycode, quint32 keysym) const
    {
        if (!m_reply || keycode < m_min || m_reply->keysyms_per_keycode == 0)
            return false;
        const int per = m_reply->keysyms_per_keycode;
        const int row = keycode - m_min;
        if ((row + 1) * per > xcb_get_keyboard_mapping_keysyms_length(m_reply.get()))
            return false;
        const xcb_keysym_t *keysyms = xcb_get_keyboard_mapping_keysyms(m_reply.get()) + row * per;
        return std::find(keysyms, keysyms + per, keysym) != keysyms + per;
    }

    std::vector<xcb_keycode_t> keycodesOf(quint32 keysym) const
    {
        std::vector<xcb_keycode_t> keycodes;
        if (!m_reply || m_reply->keysyms_per_keycode == 0)
            return keycodes;
        const int rows
            = xcb_get_keyboard_mapping_keysyms_length(m_reply.get()) / m_reply->keysyms_per_keycode;
        for (int row = 0; row < rows; ++row) {
            const auto keycode = xcb_keycode_t(m_min + row);
            if (has(keycode, keysym))
                keycodes.push_back(keycode);
        }
        return keycodes;
    }

private:
    xcb_keycode_t m_min = 0;
    XcbReply<xcb_get_keyboard_mapping_reply_t> m_reply;
};

// Which of Mod1…Mod5 carry Alt, NumLock and Super on this server; the usual bits otherwise.
X11GlobalHotKey::ModifierBits readModifierBits(xcb_connection_t *connection,
                                               const KeyboardMapping &mapping)
{
    X11GlobalHotKey::ModifierBits bits;
    XcbReply<xcb_get_modifier_mapping_reply_t> reply(
        xcb_get_modifier_mapping_reply(connection, xcb_get_modifier_mapping(connection), nullptr));
    if (!reply)
        return bits;
    const int per = reply->keycodes_per_modifier;
    const xcb_keycode_t *keycodes = xcb_get_modifier_mapping_keycodes(reply.get());
    for (int modifier = 3; modifier < 8; ++modifier) {
        const auto bit = quint16(1u << modifier);
        for (int i = 0; i < per; ++i) {
            const xcb_keycode_t keycode = keycodes[modifier * per + i];
            if (mapping.has(keycode, kKeysymNumLock))
                bits.numLock = bit;
            if (mapping.has(keycode, kKeysymAltL) || mapping.has(keycode, kKeysymAltR))
                bits.alt = bit;
            if (mapping.has(keycode, kKeysymSuperL) || mapping.has(keycode, kKeysymSuperR))
                bits.super = bit;
        }
    }
    return bits;
}

} // namespace

X11GlobalHotKey::X11GlobalHotKey(xcb_connection_t *connection, QObject *parent)
    : GlobalHotKey(parent)
    , m_connection(connection)
{
    m_root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    QCoreApplication::instance()->installNativeEventFilter(this);
}

X11GlobalHotKey::~X11GlobalHotKey()
{
    unregister();
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

xcb_connection_t *X11GlobalHotKey::applicationConnection()
{
    // The offscreen platform answers to the X11 interface too, for its GLX support, but never
    // reads the connection's events.
    if (!qGuiApp || QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

bool X11GlobalHotKey::registerCombo(const HotkeyCombo &combo, std::function<void()> action)
{
    unregister();
    setAction(std::move(action));
    setStatus(HotkeyStatus::Taken);
    const quint32 keysym = KeyTable::keysymFor(combo.keyCode);
    if (keysym == 0)
        return false;
    const KeyboardMapping mapping(m_connection);
    m_bits = readModifierBits(m_connection, mapping);
    m_modifiers = xModifiers(combo.modifiers);
    m_keycodes = mapping.keycodesOf(keysym);
    if (m_keycodes.empty() || !grabAll()) {
        m_keycodes.clear();
        return false;
    }
    setStatus(HotkeyStatus::Registered);
    return true;
}

void X11GlobalHotKey::unregister()
{
    if (!m_keycodes.empty())
        ungrabAll();
    m_keycodes.clear();
    setAction({});
    setStatus(HotkeyStatus::Unregistered);
}

bool X11GlobalHotKey::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (m_keycodes.empty() || eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    const quint8 type = event->response_type & 0x7f;
    if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE)
        return false;
    // A release event has the press event's layout.
    const auto *key = static_cast<const xcb_key_press_event_t *>(message);
    if (!matches(*key))
        return false;
    if (type == XCB_KEY_RELEASE) {
        m_lastRelease = key->time;
        return true;
    }
    // X repeats a held key as release and press pairs with one timestamp: only the first press
    // counts, so holding the keys does not toggle the panel back and forth.
    if (key->time != m_lastRelease)
        fire();
    return true;
}

std::vector<quint16> X11GlobalHotKey::lockVariants() const
{
    const quint16 lock = XCB_MOD_MASK_LOCK;
    return {0, lock, m_bits.numLock, quint16(lock | m_bits.numLock)};
}

quint16 X11GlobalHotKey::xModifiers(quint32 modifiers) const
{
    quint16 mask = 0;
    if (modifiers & HotkeyCombo::kControl)
        mask |= XCB_MOD_MASK_CONTROL;
    if (modifiers & HotkeyCombo::kAlt)
        mask |= m_bits.alt;
    if (modifiers & HotkeyCombo::kShift)
        mask |= XCB_MOD_MASK_SHIFT;
    if (modifiers & HotkeyCombo::kSuper)
        mask |= m_bits.super;
    return mask;
}

bool X11GlobalHotKey::matches(const xcb_key_press_event_t &event) const
{
    const quint16 relevant = XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | m_bits.alt | m_bits.super;
    return std::find(m_keycodes.begin(), m_keycodes.end(), event.detail) != m_keycodes.end()
           && (event.state & relevant) == m_modifiers;
}

bool X11GlobalHotKey::grabAll()
{
    std::vector<xcb_void_cookie_t> cookies;
    for (const xcb_keycode_t keycode : m_keycodes) {
        for (const quint16 variant : lockVariants()) {
            cookies.push_back(xcb_grab_key_checked(m_connection, 0, m_root, m_modifiers | variant,
                                                   keycode, XCB_GRAB_MODE_ASYNC,
                                                   XCB_GRAB_MODE_ASYNC));
        }
    }
    // Every cookie is checked so that no error is left to reach Qt. BadAccess means another
    // client holds one of the variants: the combination is taken.
    bool granted = true;
    for (const xcb_void_cookie_t cookie : cookies) {
        if (xcb_generic_error_t *error = xcb_request_check(m_connection, cookie)) {
            granted = false;
            std::free(error);
        }
    }
    if (!granted)
        ungrabAll();
    return granted;
}

void X11GlobalHotKey::ungrabAll()
{
    for (const xcb_keycode_t keycode : m_keycodes) {
        for (const quint16 variant : lockVariants())
            xcb_ungrab_key(m_connection, keycode, m_root, m_modifiers | variant);
    }
    xcb_flush(m_connection);
}

} // namespace furrow

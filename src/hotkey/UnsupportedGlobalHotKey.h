#pragma once

#include "GlobalHotKey.h"

namespace furrow {

// The honest backend for sessions that offer no global hotkey: nothing registers.
class UnsupportedGlobalHotKey : public GlobalHotKey
{
    Q_OBJECT

public:
    explicit UnsupportedGlobalHotKey(QObject *parent = nullptr)
        : GlobalHotKey(parent)
    {}

    bool registerCombo(const HotkeyCombo &combo, std::function<void()> action) override;
    void unregister() override;
    bool isSupported() const override { return false; }
};

} // namespace furrow

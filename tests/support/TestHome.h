#pragma once

#include <QTemporaryDir>

namespace furrow::test {

// Gives a test program a home of its own — data, settings and runtime folders in a temporary
// folder — so that no test, however it is started, touches the real home folder; and the time
// zone the tests are written for. Create it first thing in main().
class TestHome
{
public:
    TestHome();

private:
    QTemporaryDir m_folder;
};

} // namespace furrow::test

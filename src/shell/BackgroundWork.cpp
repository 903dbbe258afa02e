#include "BackgroundWork.h"

#include <QEventLoop>
#include <QThread>

#include <memory>

namespace furrow::BackgroundWork {

void run(const std::function<void()> &work)
{
    const std::unique_ptr<QThread> worker(QThread::create(work));
    QEventLoop loop;
    QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
    worker->start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker->wait();
}

} // namespace furrow::BackgroundWork

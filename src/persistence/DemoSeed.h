#pragma once

namespace furrow {

class ModelContext;

// Fills an almost empty store (fewer than 3 tasks) with a small, realistic planner for showing
// and trying out the application. Works on the context directly: no backup write is scheduled
// and no change is announced.
class DemoSeed
{
public:
    static void run(ModelContext &context);

private:
    static void wipe(ModelContext &context);
    static void plant(ModelContext &context);
};

} // namespace furrow

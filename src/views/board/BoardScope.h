#pragma once

namespace furrow {

class BoardState;
class MenuController;
class ModelContext;

// What every part of a page view works with: the planner's context, the window's popup
// controller and the page view's shared interaction state.
struct BoardScope
{
    ModelContext &model;
    MenuController &menus;
    BoardState &state;
};

} // namespace furrow

#include "ui/bindings.h"

#include "app/app.h"
#include "css/background_css.h"
#include "css/nav_css.h"
#include "env/links.h"
#include "ui/preview.h"

namespace bindings {

namespace {
using enum Event;
constexpr Binding table[] = {
    {"窗口", Created, startWindowServices},
    {"窗口", MouseMoved, resetPreviewTiles},
    {"外形框1", MouseMoved, highlightPreviewTile},
    {"外形框2", MouseMoved, highlightPreviewTile},
    {"外形框4", MouseMoved, highlightPreviewTile},
    {"外形框5", MouseMoved, highlightPreviewTile},
    {"按钮1", Clicked, generateNavigationCss},
    {"按钮2", Clicked, copyNavigationCss},
    {"按钮5", Clicked, generateBackgroundCss},
    {"按钮6", Clicked, copyBackgroundCss},
    {"按钮3", Clicked, openShopPage},
    {"图片框4", LeftButtonDown, openShopPage},
    {"按钮4", Clicked, openContactPage},
    {"透明标签36", LeftButtonDown, openContactPage},
    {"图片框5", LeftButtonDown, openForumPage},
    {"透明标签29", LeftButtonDown, openUpdatePage},
};
} // namespace

std::span<const Binding> all() { return table; }

Handler find(std::string_view control, Event event) {
    for (const Binding& b : table)
        if (b.event == event && control == b.control) return b.handler;
    return nullptr;
}

} // namespace bindings

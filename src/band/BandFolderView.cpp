#include "band/BandFolderView.h"

#include "shellview/ShellFolderView.h"
#include "shellview/ShellListView.h"

#include <utility>

namespace band {
namespace {

class ShellViewItems final : public session::HostFolderView {
public:
    explicit ShellViewItems(shellview::ShellFolderView view) : view(std::move(view)) {}

    std::vector<std::wstring> NamesInViewOrder() override { return view.NamesInViewOrder(); }
    std::vector<std::wstring> NamesByIndex() override { return view.NamesByIndex(); }
    void SelectOnly(const std::vector<int>& ascending) override { view.SelectOnly(ascending); }
    std::optional<int> Remove(const std::vector<int>& descending) override { return view.Remove(descending); }
    void TakeFocus() override { ::SetFocus(view.Window()); }

private:
    shellview::ShellFolderView view;
};

class ListViewItems final : public session::HostFolderView {
public:
    explicit ListViewItems(HWND list) : list(list) {}

    std::vector<std::wstring> NamesInViewOrder() override { return shellview::ReadViewNames(list); }
    std::vector<std::wstring> NamesByIndex() override { return shellview::ReadViewNames(list); }
    void SelectOnly(const std::vector<int>& ascending) override { shellview::SelectListItems(list, ascending); }
    std::optional<int> Remove(const std::vector<int>& descending) override
    {
        return shellview::RemoveListItems(list, descending);
    }
    void TakeFocus() override
    {
        if (list != nullptr)
            ::SetFocus(list);
    }

private:
    HWND list;
};

}  // namespace

std::unique_ptr<session::HostFolderView> ActiveFolderView(IServiceProvider* browserServices, HWND browserWindow)
{
    if (std::optional<shellview::ShellFolderView> view = shellview::ShellFolderView::OfBrowser(browserServices))
        return std::make_unique<ShellViewItems>(std::move(*view));
    return std::make_unique<ListViewItems>(shellview::FindShellListView(browserWindow));
}

}  // namespace band

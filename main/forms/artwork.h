#pragma once
// The client's pictures, drawn by the program itself: the product logo, the
// window icon and the image list of the main window (tray pictures 4 online
// and 5 offline, tool bar pictures 0 to 3 and 6).
#include <QIcon>
#include <QPixmap>
#include <vector>

namespace artwork {
constexpr int TrayOnline = 4;
constexpr int TrayOffline = 5;

QPixmap Logo(int width = 280, int height = 64);
QPixmap ApplicationIcon(int size = 64);
// Index: 0 news, 1 world search, 2 advanced search, 3 shared gedcoms,
// 4 online, 5 offline, 6 requests.
std::vector<QIcon> ImageList();
}  // namespace artwork

#include "win/Window.h"

#include <vector>

std::string Window::ItemText(int id, int maxLength) const {
  std::vector<char> buffer(static_cast<std::size_t>(maxLength) + 1, '\0');
  const UINT n = GetDlgItemTextA(hwnd_, id, buffer.data(), maxLength + 1);
  return std::string(buffer.data(), n);
}

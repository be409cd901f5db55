void Test() {
  try {
  } catch (const std::out_of_range&) {
  }
}

// Catches the check must find; a catch of std::exception or of anything must pass.
void Parse() {
  try {
  } catch (const std::out_of_range&) {
  } catch (std::invalid_argument& e) {
  } catch (const std::exception&) {
  } catch (...) {
  }
}

#pragma once
// The program's exceptions: every failure carries a French message meant for the user.
#include <exception>
#include <string>

namespace norvel {

// The general exception: a message, shown unchanged by the user interface.
class EOvalis : public std::exception {
 public:
  explicit EOvalis(std::wstring message);
  const std::wstring& Message() const noexcept { return FMessage; }
  // The message in UTF-8, for logs and test output.
  const char* what() const noexcept override { return FMessageUtf8.c_str(); }

 protected:
  // For exceptions whose message follows their content (read back, or wrapped as they propagate).
  void ChangerMessage(std::wstring message);

 private:
  std::wstring FMessage;
  std::string FMessageUtf8;
};

// The cancellation exception: the user or a closing window abandoned the operation.
// Callers let it pass silently where a failure would be reported.
class EAnnulation : public EOvalis {
 public:
  EAnnulation();
  explicit EAnnulation(std::wstring message) : EOvalis(std::move(message)) {}
};

// The message of any exception caught as std::exception (UTF-8 what() for foreign ones).
std::wstring MessageDe(const std::exception& e);

}  // namespace norvel

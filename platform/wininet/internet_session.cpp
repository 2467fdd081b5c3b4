// Sessions, connections, their options and closing handles.
#include "kernel32/last_error.h"
#include "wininet/internet.h"
#include "wininet/internet_handles.h"

#include <cstring>

namespace {

std::string TextOf(LPCSTR text) { return text ? text : ""; }

// An option's text: up to `length` bytes or the terminator (0: terminated).
std::string OptionText(LPVOID buffer, DWORD length) {
  if (!buffer)
    return "";
  auto* text = static_cast<const char*>(buffer);
  return std::string(text, length ? strnlen(text, length) : std::strlen(text));
}

bool ProxyChoiceOf(DWORD accessType, LPCSTR proxy, LPCSTR bypass, ProxyChoice* choice) {
  switch (accessType) {
  case INTERNET_OPEN_TYPE_PRECONFIG:
  case INTERNET_OPEN_TYPE_PRECONFIG_WITH_NO_AUTOPROXY:
    *choice = ProxyChoice{ProxyChoice::Kind::System, "", ""};
    return true;
  case INTERNET_OPEN_TYPE_DIRECT:
    *choice = ProxyChoice{ProxyChoice::Kind::Direct, "", ""};
    return true;
  case INTERNET_OPEN_TYPE_PROXY:
    if (!proxy || !*proxy)
      return false;
    *choice = ProxyChoice{ProxyChoice::Kind::Named, proxy, TextOf(bypass)};
    return true;
  default:
    return false;
  }
}

BOOL SetTimeout(InternetObject& object, DWORD option, LPVOID buffer, DWORD length) {
  if (!buffer || length < sizeof(DWORD))
    return Fail(ERROR_INTERNET_BAD_OPTION_LENGTH);
  DWORD ms = 0;
  std::memcpy(&ms, buffer, sizeof ms);
  // Windows reads 0xFFFFFFFF as "no limit"; so does 0 here.
  long limit = ms == 0xFFFFFFFF ? 0 : static_cast<long>(ms);
  if (option == INTERNET_OPTION_CONNECT_TIMEOUT)
    object.timeouts.connectMs = limit;
  else if (option == INTERNET_OPTION_SEND_TIMEOUT)
    object.timeouts.sendMs = limit;
  else
    object.timeouts.receiveMs = limit;
  return TRUE;
}

// The record's size on 32-bit Windows, which callers may still pass.
constexpr DWORD kProxyInfoSize32 = 12;

BOOL SetProxy(InternetObject& object, LPVOID buffer, DWORD length) {
  if (object.kind != InternetObject::Kind::Session)
    return Fail(ERROR_INTERNET_INCORRECT_HANDLE_TYPE);
  if (!buffer || length < kProxyInfoSize32)
    return Fail(ERROR_INTERNET_BAD_OPTION_LENGTH);
  INTERNET_PROXY_INFO info{};
  std::memcpy(&info, buffer, sizeof info);
  ProxyChoice choice;
  if (!ProxyChoiceOf(info.dwAccessType, info.lpszProxy, info.lpszProxyBypass, &choice))
    return Fail(ERROR_INVALID_PARAMETER);
  static_cast<InternetSession&>(object).proxy = std::move(choice);
  return TRUE;
}

} // namespace

HINTERNET InternetOpenA(LPCSTR agent, DWORD accessType, LPCSTR proxy, LPCSTR bypass, DWORD flags) {
  return GuardedHandle([&]() -> HINTERNET {
    if (flags & INTERNET_FLAG_ASYNC)
      return FailNull(ERROR_INVALID_PARAMETER);
    auto session = std::make_shared<InternetSession>();
    if (!ProxyChoiceOf(accessType, proxy, bypass, &session->proxy))
      return FailNull(ERROR_INVALID_PARAMETER);
    session->agent = TextOf(agent);
    return ProcessInternetHandles().add(std::move(session));
  });
}

HINTERNET InternetConnectA(HINTERNET sessionHandle, LPCSTR host, INTERNET_PORT port, LPCSTR user,
                           LPCSTR password, DWORD service, DWORD, DWORD_PTR) {
  return GuardedHandle([&]() -> HINTERNET {
    auto session =
        ProcessInternetHandles().findAs<InternetSession>(sessionHandle, InternetObject::Kind::Session);
    if (!session)
      return FailNull(ERROR_INVALID_HANDLE);
    if (!host || !*host)
      return FailNull(ERROR_INVALID_PARAMETER);
    if (service != INTERNET_SERVICE_HTTP)
      return FailNull(ERROR_INTERNET_INVALID_OPERATION);
    auto connection = std::make_shared<InternetConnection>();
    connection->parent = sessionHandle;
    connection->timeouts = session->timeouts;
    connection->host = host;
    connection->port = port;
    connection->user = TextOf(user);
    connection->password = TextOf(password);
    return ProcessInternetHandles().add(std::move(connection));
  });
}

BOOL InternetSetOptionA(HINTERNET handle, DWORD option, LPVOID buffer, DWORD length) {
  return GuardedBool([&]() -> BOOL {
    std::shared_ptr<InternetObject> object = ProcessInternetHandles().find(handle);
    if (!object)
      return Fail(ERROR_INVALID_HANDLE);
    switch (option) {
    case INTERNET_OPTION_CONNECT_TIMEOUT:
    case INTERNET_OPTION_SEND_TIMEOUT:
    case INTERNET_OPTION_RECEIVE_TIMEOUT:
      return SetTimeout(*object, option, buffer, length);
    case INTERNET_OPTION_PROXY:
      return SetProxy(*object, buffer, length);
    case INTERNET_OPTION_PROXY_USERNAME:
      object->proxyUser = OptionText(buffer, length);
      return TRUE;
    case INTERNET_OPTION_PROXY_PASSWORD:
      object->proxyPassword = OptionText(buffer, length);
      return TRUE;
    default:
      return Fail(ERROR_INTERNET_INVALID_OPTION);
    }
  });
}

BOOL InternetCloseHandle(HINTERNET handle) {
  return ProcessInternetHandles().close(handle) ? TRUE : Fail(ERROR_INVALID_HANDLE);
}

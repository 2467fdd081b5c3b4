#include "service/lyric_service.h"

namespace lyric_service {

LyricServiceRunner::LyricServiceRunner(std::filesystem::path library, RequestLog log) {
  LibraryRead read = LyricLibrary::Read(library);
  if (!read.library) {
    error_ = std::move(read.error);
    return;
  }
  auto server = std::make_unique<LyricServer>(std::move(*read.library), std::move(log));
  BindResult bound = server->Bind("127.0.0.1", 0);
  if (bound.port == 0) {
    error_ = std::move(bound.error);
    return;
  }
  server_ = std::move(server);
  port_ = bound.port;
  thread_ = std::thread([server = server_.get()] { server->Serve(); });
}

LyricServiceRunner::~LyricServiceRunner() {
  if (!thread_.joinable())
    return;
  server_->Stop();
  thread_.join();
}

std::string LyricServiceRunner::BaseUrl() const { return "http://127.0.0.1:" + std::to_string(port_); }

const LyricLibrary* LyricServiceRunner::Library() const { return server_ ? &server_->Library() : nullptr; }

} // namespace lyric_service

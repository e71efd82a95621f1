// velkor-model-loader MODEL: reads a model with Assimp and writes the
// flattened scene (render/SceneCodec.h) to stdout, exit 0. On failure writes
// the reason to stdout, exit 3. Runs as a child of the renderer so that a
// crash, hang or runaway allocation inside Assimp costs only this process.
// `velkor-model-loader --extensions` writes the file name patterns Assimp
// reads ("*.3ds;*.obj;..."); models are always named by absolute paths, so
// no model is taken for it.
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <new>
#include <string>

#include "render/SceneCodec.h"
#include "render/SceneLimits.h"
#include "render/loader/AssimpImport.h"

// GCC says it builds with AddressSanitizer one way, clang another.
#if defined(__SANITIZE_ADDRESS__)
#define VELKOR_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VELKOR_ADDRESS_SANITIZER 1
#endif
#endif

namespace {

// The address-space limit would stop AddressSanitizer's shadow memory from
// being mapped, so sanitized builds rely on the parent's time limit alone.
void LimitResources() {
#if !defined(VELKOR_ADDRESS_SANITIZER)
  const rlimit memory{velkor::render::kLoaderMemoryBytes, velkor::render::kLoaderMemoryBytes};
  setrlimit(RLIMIT_AS, &memory);
#endif
  const rlimit cpu{velkor::render::kLoaderTimeoutSeconds, velkor::render::kLoaderTimeoutSeconds + 1};
  setrlimit(RLIMIT_CPU, &cpu);
  const rlimit core{0, 0};
  setrlimit(RLIMIT_CORE, &core);
}

bool WriteAll(const void* data, size_t size) {
  const auto* p = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t n = write(STDOUT_FILENO, p, size);
    if (n <= 0) return false;
    p += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: velkor-model-loader MODEL\n", stderr);
    return 2;
  }
  LimitResources();
  if (std::string(argv[1]) == "--extensions") {
    const std::string list = velkor::render::ImporterExtensions();
    return WriteAll(list.data(), list.size()) ? 0 : 4;
  }
  velkor::render::Scene scene;
  std::string error;
  try {
    if (velkor::render::ImportWithAssimp(argv[1], scene, error)) {
      const std::vector<uint8_t> bytes = velkor::render::EncodeScene(scene);
      return WriteAll(bytes.data(), bytes.size()) ? 0 : 4;
    }
  } catch (const std::bad_alloc&) {
    error = velkor::render::MemoryLimitReason();
  } catch (const std::exception& e) {
    error = std::string("the model cannot be read (") + e.what() + ")";
  }
  WriteAll(error.data(), error.size());
  return 3;
}

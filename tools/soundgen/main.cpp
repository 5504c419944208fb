// soundgen: writes the gradient button's four sounds, RIFF WAVE files, PCM, mono, 11025 Hz,
// 8 bits, of exactly the sizes the program's resources have: pistol.wav (6742 bytes, a pistol
// shot), game.wav (1046, a game blip), fire.wav (7754, fire) and health.wav (2102, a health
// chime). The sounds are synthesised from a fixed seed, so every run writes the same bytes.
// Usage: soundgen OUTDIR
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 11025;
constexpr double kPi = 3.14159265358979323846;
constexpr std::size_t kHeaderBytes = 44;

// A small deterministic noise source (xorshift32), the same on every machine.
class Noise {
 public:
  explicit Noise(std::uint32_t seed) : state_(seed) {}
  double Next() {  // -1 .. 1
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return static_cast<double>(state_) / 2147483647.5 - 1.0;
  }

 private:
  std::uint32_t state_;
};

std::uint8_t Sample(double v) {  // -1 .. 1 to unsigned 8-bit, 128 is silence
  const double s = std::round(128.0 + 127.0 * std::fmax(-1.0, std::fmin(1.0, v)));
  return static_cast<std::uint8_t>(s);
}

std::vector<std::uint8_t> Pistol(std::size_t n) {
  std::vector<std::uint8_t> out(n);
  Noise noise(0x5A9A1A01u);
  double low = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const double t = static_cast<double>(i) / kRate;
    const double crack = noise.Next() * std::exp(-t / 0.025);
    low += (noise.Next() - low) * 0.08;  // rumble of the report
    const double thump = std::sin(2 * kPi * 95 * t) * std::exp(-t / 0.06);
    out[i] = Sample(0.9 * crack + 2.2 * low * std::exp(-t / 0.15) + 0.6 * thump);
  }
  return out;
}

std::vector<std::uint8_t> Game(std::size_t n) {
  std::vector<std::uint8_t> out(n);
  double phase = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const double k = static_cast<double>(i) / static_cast<double>(n);
    const double freq = k < 0.5 ? 880.0 : 1320.0;  // two square notes, up a fifth
    phase += freq / kRate;
    const double square = std::fmod(phase, 1.0) < 0.5 ? 1.0 : -1.0;
    const double env = std::fmin(1.0, (1.0 - k) * 8.0);
    out[i] = Sample(0.55 * square * env);
  }
  return out;
}

std::vector<std::uint8_t> Fire(std::size_t n) {
  std::vector<std::uint8_t> out(n);
  Noise noise(0xF17EF17Eu);
  double roar = 0, pop = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const double k = static_cast<double>(i) / static_cast<double>(n);
    roar += (noise.Next() - roar) * 0.12;  // low-passed rush of the flames
    if (noise.Next() > 0.993) pop = 1.0;   // crackles
    pop *= 0.88;
    const double env = std::fmin(1.0, k * 10.0) * std::fmin(1.0, (1.0 - k) * 4.0);
    out[i] = Sample(env * (1.6 * roar + 0.7 * pop * noise.Next()));
  }
  return out;
}

std::vector<std::uint8_t> Health(std::size_t n) {
  std::vector<std::uint8_t> out(n);
  const std::size_t half = n / 2;
  for (std::size_t i = 0; i < n; ++i) {
    const bool second = i >= half;
    const double t = static_cast<double>(second ? i - half : i) / kRate;
    const double freq = second ? 1567.98 : 1046.50;  // C6, then G6
    const double tone = std::sin(2 * kPi * freq * t) + 0.3 * std::sin(4 * kPi * freq * t);
    const double env = std::exp(-t / 0.05) * std::fmin(1.0, t * 2000.0);
    out[i] = Sample(0.6 * tone * env);
  }
  return out;
}

void Put32(std::vector<std::uint8_t>& b, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
void Put16(std::vector<std::uint8_t>& b, std::uint16_t v) {
  b.push_back(static_cast<std::uint8_t>(v));
  b.push_back(static_cast<std::uint8_t>(v >> 8));
}

std::vector<std::uint8_t> Wave(const std::vector<std::uint8_t>& samples) {
  std::vector<std::uint8_t> b;
  const auto data = static_cast<std::uint32_t>(samples.size());
  b.insert(b.end(), {'R', 'I', 'F', 'F'});
  Put32(b, 36 + data);
  b.insert(b.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  Put32(b, 16);
  Put16(b, 1);  // PCM
  Put16(b, 1);  // mono
  Put32(b, kRate);
  Put32(b, kRate);  // bytes per second
  Put16(b, 1);      // block align
  Put16(b, 8);      // bits per sample
  b.insert(b.end(), {'d', 'a', 't', 'a'});
  Put32(b, data);
  b.insert(b.end(), samples.begin(), samples.end());
  return b;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: soundgen OUTDIR\n");
    return 2;
  }
  struct Sound {
    const char* name;
    std::size_t bytes;
    std::vector<std::uint8_t> (*make)(std::size_t);
  };
  const Sound sounds[] = {{"pistol.wav", 6742, Pistol},
                          {"game.wav", 1046, Game},
                          {"fire.wav", 7754, Fire},
                          {"health.wav", 2102, Health}};
  for (const Sound& s : sounds) {
    const auto file = Wave(s.make(s.bytes - kHeaderBytes));
    if (file.size() != s.bytes) {
      std::fprintf(stderr, "soundgen: %s came out %zu bytes\n", s.name, file.size());
      return 1;
    }
    const std::string path = std::string(argv[1]) + "/" + s.name;
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(file.data()),
              static_cast<std::streamsize>(file.size()));
    if (!out) {
      std::fprintf(stderr, "soundgen: cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}

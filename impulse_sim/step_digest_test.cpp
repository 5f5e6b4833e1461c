// The exact course of the simulation: every scene under every combination of
// the four switches, with thrown projectiles of every shape, digested step by
// step from the raw bits of everything a step leaves behind (bodies, joints,
// contact pairs). One changed bit in one step changes the digest, so work on
// the speed of the core proves here that it computes the same doubles. A
// deliberate change of the arithmetic must record new digests: run with
// IMPULSE_PRINT_DIGESTS=1 to print the table.
#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>

#include "scene_run.h"
#include "test_support/long_runs.h"

namespace {

constexpr int32_t StepsPerRun = LongRun(600);
// Run 12 is the crowd: the pyramid under a hail of projectiles that fills
// the body table, so that a step finds more pairs than the table holds.
constexpr int32_t CrowdRun = SceneCount + 1;
constexpr int32_t RunCount = CrowdRun;

struct TDigest {
    uint64_t Value = 0x243F6A8885A308D3ull;
};

void Mix(TDigest& d, uint64_t word) {
    uint64_t z = (d.Value ^ word) + 0x9E3779B97F4A7C15ull;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    d.Value = z ^ (z >> 31);
}

void Mix(TDigest& d, double v) { Mix(d, std::bit_cast<uint64_t>(v)); }
void Mix(TDigest& d, int32_t v) { Mix(d, static_cast<uint64_t>(static_cast<uint32_t>(v))); }
void Mix(TDigest& d, const TVec2& v) {
    Mix(d, v.X);
    Mix(d, v.Y);
}

void MixWorld(TDigest& d) {
    Mix(d, WorldBodyCount);
    for (int32_t i = 1; i <= WorldBodyCount; i++) {
        const TWorldBody& b = WorldBodies[i];
        Mix(d, b.Position);
        Mix(d, b.Velocity);
        Mix(d, b.Angle);
        Mix(d, b.AngularVelocity);
        Mix(d, b.BiasVelocity);
        Mix(d, b.BiasAngularVelocity);
    }
    for (int32_t i = 1; i <= WorldJointCount; i++) {
        Mix(d, WorldJoints[i].Bias);
        Mix(d, WorldJoints[i].AccumulatedImpulse);
    }
    Mix(d, WorldContactPairCount);
    for (int32_t i = 1; i <= WorldContactPairCount; i++) {
        const TContactPair& pair = WorldContactPairs[i];
        Mix(d, pair.Body1);
        Mix(d, pair.Body2);
        Mix(d, pair.Friction);
        Mix(d, pair.ContactCount);
        for (int32_t k = 0; k < pair.ContactCount; k++) {
            const TContactPoint& c = pair.Contacts[k];
            for (double v :
                 {c.Position.X, c.Position.Y, c.Normal.X, c.Normal.Y, c.Separation, c.NormalImpulse,
                  c.TangentImpulse, c.NormalMass, c.TangentMass, c.Bias, c.AccumulatedBiasImpulse})
                Mix(d, v);
        }
    }
}

uint64_t RunDigest(int32_t run, int32_t combination) {
    int32_t scene = run == CrowdRun ? 5 : run;
    // The cradle goes through all nine bob shapes.
    uint32_t seed = scene == 11 ? SeedForCradleShape(combination % 9 + 1) : 100 + combination;
    StartScene(scene, SwitchCombination(combination), seed);
    TRandomSource throws;
    SeedRandom(throws, 7 + combination);
    bool projectileActive = false;
    TDigest d;
    for (int32_t k = 0; k < StepsPerRun; k++) {
        if (run == CrowdRun ? k % 4 == 0 : k % 100 == 50)
            projectileActive = LaunchProjectile(run != CrowdRun && projectileActive, throws);
        StepWorld(StepDuration);
        MixWorld(d);
    }
    return d.Value;
}

using TDigestTable = std::array<std::array<uint64_t, 16>, RunCount>;

// Recorded from the core as first written.
// clang-format off
constexpr TDigestTable ExpectedDigests = {{
    {{0x63ed6ccb6e3c85feull, 0x404fd6925e83e6baull, 0xef0010634d9870d9ull, 0xf0c2937d6cd9ad20ull,
      0x1d12b660cb29b971ull, 0x97cd508eeaa3a7e9ull, 0xba110befb3bee978ull, 0xb07d08d78398c8baull,
      0x9f59a76dc4a50352ull, 0xd43991f1f160e247ull, 0x9e30286587a80ef9ull, 0xe8e0d41fe74cd239ull,
      0x640955652ee3ebf4ull, 0xc70c7a8522282e5cull, 0x9d3a618f17492bcbull, 0x797b314a30961f85ull}},
    {{0x4f9e82fb0003dd2cull, 0xe0e232e994b024c6ull, 0x06c3c63c66eeaa8full, 0x48aea4f1f84a3e49ull,
      0xf4b0f42cc64098e3ull, 0xd3547b25ac4f237dull, 0x8a66aa59d27bcc07ull, 0x04c6dd1ae7ff09ddull,
      0xb219aecbb780984cull, 0x8e3245720f685f32ull, 0x847dc4d538908b47ull, 0x92d963b04676fa1cull,
      0x0a34522ee9cf7ff4ull, 0xb0356b2dfad396aaull, 0x5b6523c8937f758eull, 0xb25936cb108b6fe5ull}},
    {{0x12fd0f490b0a3cacull, 0xa8f7634ee695d396ull, 0x4867b6ff80dfe74aull, 0xa80da914911cfff6ull,
      0xb4059491fffc94ecull, 0x48eeaaa2ae765f09ull, 0x2ff65c38242abe38ull, 0x03ac82a133b4b276ull,
      0x65457140545f414aull, 0xad29511b61e2232full, 0x7517e7d9bc258f0dull, 0xb2e290239646254aull,
      0x1389fc6c8254291bull, 0x8109c97cb931f409ull, 0x76cf0d79228ebf14ull, 0x8e99355db97e5b8cull}},
    {{0xb3314533df5f7ef1ull, 0xeefbe63bb2fd1fa5ull, 0xb46d647faed69991ull, 0x0af870cfa0e668e6ull,
      0x63cd420838702494ull, 0x018ba49a4421eea1ull, 0xea4f5775d72769f5ull, 0xadd67de2e150e759ull,
      0xcb0b68f5e3db1925ull, 0x3fbff81e8679ccbaull, 0x4f4906159010dca2ull, 0x7c25a322587a0fe8ull,
      0xdc25fa8f0d7c07e9ull, 0xdd48b25db5718e88ull, 0x0fd8b52fb4dbcfc0ull, 0xa3225159bbe727e1ull}},
    {{0xfe2798e3bb4c642cull, 0xdb406f526a2ee54cull, 0xa7964df6183ca55bull, 0x954a5e818328749aull,
      0xfdeddc9d23f18c83ull, 0x92d90eddf74bbf3dull, 0xaa1787477502fe82ull, 0xf1ebdb32b97cf78full,
      0x910129a742abf307ull, 0xc5e590cd50263ac8ull, 0xe96fd2050a3908e4ull, 0x1288323c177e442bull,
      0x2038b2799aae294eull, 0xcfffa0f1727582ebull, 0x4bd09dbf6d25989dull, 0x1568f23d79feea67ull}},
    {{0xfabb84fa5502edfdull, 0x44e1e86614125641ull, 0x9bc6ae042fae852aull, 0x8d1e6b6aff6e8cbbull,
      0x3cfb0c9ab7252ec7ull, 0xbbf4adcf6edf7e59ull, 0x4a40602f6300f459ull, 0x5720afd994e220bfull,
      0x1e46b8dc182a32c0ull, 0x8cfe08abfc6bb620ull, 0x5897addc06f84775ull, 0xf2b12d15a24c3b51ull,
      0xfb7aedae49c44857ull, 0x5ff4c17978788b58ull, 0xb3a1e660907fe0a2ull, 0x815702d5c8055783ull}},
    {{0x6c465006a36dfd41ull, 0x25e0a4b26b1f8ffaull, 0x40dd819de9fc9f69ull, 0x097f26de0869d188ull,
      0x357aa5cb00687b22ull, 0xabc082c034f52162ull, 0x4acc2bcc520da47full, 0x46e9270a825635f1ull,
      0xee00e7664b6c585dull, 0xcac056e8e89f42b7ull, 0x7d489992b3d3d47bull, 0x6ab773f0dbf0b27full,
      0x7f44e0cb0863b490ull, 0xce7ec62b6d997e64ull, 0x2693d7ccbf865940ull, 0x422505f9d7c184c2ull}},
    {{0xb64fa8b1c7de951eull, 0x11886f0a250d4769ull, 0xfada77ba3245d785ull, 0xea58d60436657fd3ull,
      0xbf3b9de893fc1fc1ull, 0x4a778318d9b9c2a8ull, 0x911aef636528b6bcull, 0xeee1f27f8b946961ull,
      0x43c877bbbcfbd211ull, 0xe9dc2f1893166a4bull, 0xe82e322fe9da699dull, 0xff48b8ce1830407aull,
      0x32ed269cbcd0f9e2ull, 0xf8812bdcc4ab8c3dull, 0x55590a81c606dd1full, 0x74096503a60a0248ull}},
    {{0x190c90863fbfcdc2ull, 0xb0c68cc1872ff7bbull, 0x6df026829465b243ull, 0x4435c640857b160cull,
      0xf65b62ef67f348b1ull, 0x82aae93ea9137dd9ull, 0xbd68012880c48f4aull, 0x258399374af233d7ull,
      0xe55f3c04b7596247ull, 0x1d14cc645b2c16d2ull, 0x21b614c73ce86b58ull, 0xaf58a8dea7e6a535ull,
      0xd7b88b2deb43b541ull, 0x10fbaf75bbd31a05ull, 0x8fe0d6c9f422da20ull, 0xb7f4e5e660d3c3ccull}},
    {{0x07ba013d0610b163ull, 0x61a80c2efd29e285ull, 0xd9823dd7f0b9bdd8ull, 0xc92b4b4d2509a89dull,
      0x6ca030272e87201cull, 0xc11ddaf02fcc0ae8ull, 0xb75eab68e4106132ull, 0x3a411f0e5267c22dull,
      0xb4f634b941963a37ull, 0x9d0c4acdcc4852bdull, 0x19a93ee8a45d0dedull, 0xe5f8c0c4cfd630beull,
      0xd17a5b118da6af7bull, 0x3590cef71ee775daull, 0xa669b762f4ff3828ull, 0x600a7a18ba461634ull}},
    {{0xeab15a4f8c5929d4ull, 0xfe3a59911434680full, 0x0b3e9e1e8308c1ffull, 0xc62e4be4b880a757ull,
      0xf172616591dcb409ull, 0x41956f1d3163f2e3ull, 0x35e5341bce81f450ull, 0x0e34207d602844feull,
      0x3229059226cb807cull, 0x262ee10ebc1afe7aull, 0x6f611d54fbafcb27ull, 0x25933ac1743362daull,
      0x431fc5cbb7e84fb5ull, 0xe9ae90468aef89ebull, 0x6214c93ba0178c0cull, 0x96d618c3acf701dcull}},
    {{0xb1394e79063530e0ull, 0x96821dc1e91ff0e6ull, 0x497c42e6968b07eeull, 0xdcd3ef206d4d54d2ull,
      0x9b2ba9f119801ce0ull, 0x51b29f07c49490a1ull, 0xb14934d4175141d3ull, 0xec61b65a41a7e907ull,
      0x7cf1020f9f512214ull, 0xc1a132d5c58781c1ull, 0xfde9aeef0c5d0fb7ull, 0x404592c6284e4773ull,
      0xd2d7701e4b1cdecbull, 0xde14c16cfbbf03c5ull, 0xe5ceed7045206009ull, 0x8d61a2709c02bc89ull}},
}};
// clang-format on

// What a run must compute: the recorded digest of the whole run, or, for a
// shortened run, the digest of the same run made again, which shows that
// nothing but the run decides its course.
uint64_t ExpectedDigest(int32_t run, int32_t combination) {
    return ShortenedRuns ? RunDigest(run, combination) : ExpectedDigests[run - 1][combination];
}

}  // namespace

TEST(StepDigest, EveryRunComputesTheRecordedBits) {
    TDigestTable found{};
    for (int32_t run = 1; run <= RunCount; run++)
        for (int32_t combination = 0; combination < 16; combination++) {
            found[run - 1][combination] = RunDigest(run, combination);
            EXPECT_EQ(found[run - 1][combination], ExpectedDigest(run, combination))
                << "run " << run << " (scene " << (run == CrowdRun ? 5 : run) << "), switches "
                << combination;
        }
    if (std::getenv("IMPULSE_PRINT_DIGESTS")) {
        for (const auto& row : found) {
            std::printf("    {{");
            for (int32_t c = 0; c < 16; c++) {
                const char* separator = c % 4 == 0 ? ",\n      " : ", ";
                std::printf("%s0x%016" PRIx64 "ull", c == 0 ? "" : separator, row[c]);
            }
            std::printf("}},\n");
        }
    }
}

// impulse_sim_basic's HugeReal leaves every run at the programs' default
// switches as it is.
TEST(StepDigest, TheBasicProgramsHugeRealComputesTheSameBits) {
    constexpr int32_t DefaultCombination = 9;  // position correction and accumulation
    for (int32_t run = 1; run <= RunCount; run++) {
        const uint64_t expected = ExpectedDigest(run, DefaultCombination);
        UseHugeReal(BasicHugeReal);
        EXPECT_EQ(RunDigest(run, DefaultCombination), expected) << "run " << run;
        UseHugeReal(FullHugeReal);
    }
}

// An answer to R that carries another block than the one asked for.
#include "doubles/ProtocolWorld.h"
#include "protocol/CaseName.h"
#include "protocol/OperationKind.h"

#include <gtest/gtest.h>

namespace {

struct ForeignBlockCase {
    std::string Name;
    Operation Op;
    std::string Command; // the R whose answer carries another address
    int Carried;
};

class AnswerForAnotherBlock : public testing::TestWithParam<ForeignBlockCase> {};

TEST_P(AnswerForAnotherBlock, IsDroppedAndTheTimeOutEndsTheOperation) {
    const ForeignBlockCase& c = GetParam();
    ProtocolWorld w;
    const TestRadio::Memory before = w.radio.Mem();
    w.radio.MutateNext(c.Command, [&](Bytes& a) {
        a[1] = static_cast<std::uint8_t>(c.Carried / 256);
        a[2] = static_cast<std::uint8_t>(c.Carried % 256);
        a[20] = ByteSum(std::span(a).subspan(1, 19));
    });
    Start(w, c.Op);
    w.Settle();
    EXPECT_EQ(w.Wire().back(), c.Command);
    EXPECT_EQ(w.FirstLines(), TextList{Box::CommunicationError});
    EXPECT_EQ(w.window.Messages().back().At, w.serial.Wire().back().At + WaitTimerInterval);
    EXPECT_EQ(Hex(w.radio.Mem()), Hex(before));
    EXPECT_EQ(w.comm.OperationMode, ModeIdle);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, AnswerForAnotherBlock,
    testing::Values(
        ForeignBlockCase{"ReadFirstClaims3B40", Operation::Read, "R 3B00", 0x3B40},
        ForeignBlockCase{"ReadMiddleClaimsUnaligned", Operation::Read, "R 3B20", 0x3B05},
        ForeignBlockCase{"ReadClaimsNextArea", Operation::Read, "R 3B20", 0x3C00},
        ForeignBlockCase{"ReadLastClaimsItsNeighbour", Operation::Read, "R 3BF0", 0x3BE0},
        ForeignBlockCase{"WriteFirstClaims3B40", Operation::Write, "R 3B00", 0x3B40},
        ForeignBlockCase{"WriteFlagsClaimsLast", Operation::Write, "R 3B10", 0x3BF0},
        ForeignBlockCase{"WriteLastClaimsFlags", Operation::Write, "R 3BF0", 0x3B10},
        ForeignBlockCase{"BatchFirstClaims3B40", Operation::Batch, "R 3B00", 0x3B40},
        ForeignBlockCase{"BatchLastClaimsSerial", Operation::Batch, "R 3BF0", 0x3B20}),
    CaseName());

} // namespace

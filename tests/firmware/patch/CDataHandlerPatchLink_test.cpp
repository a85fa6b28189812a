// The patch transfer's requests as the data handler queues them: reads of the command
// elements into the working image, packets with the caller's buffers, nothing while the link
// is down, and the status byte read back from the working image.
#include "firmware/CDataHandlerPatchLink.h"

#include "firmware/PatchTransferMachine.h"
#include "tests/datamodel/DataHandlerFixture.h"

namespace {

using Machine = PatchTransferMachine;

class CDataHandlerPatchLinkTest : public DataHandlerFixture {
protected:
    CDataHandlerPatchLinkTest() { link.SetDataHandler(handler.get()); }

    CDataHandlerPatchLink link;
};

TEST_F(CDataHandlerPatchLinkTest, QueuesReadsAndPacketsOnlyWhileTheLinkIsUp) {
    BYTE packet[Machine::kPacketBytes] = {6, 1, 1, 1, 0x1E, 4, 5};
    BYTE answer[Machine::kPacketBytes] = {};
    EXPECT_FALSE(link.RequestRead(Machine::kElementStart));
    EXPECT_FALSE(link.RequestWriteFrom(Machine::kElementPacket, packet, answer));
    EXPECT_TRUE(queue.requests.empty());

    ConnectIdle();
    EXPECT_TRUE(link.RequestRead(Machine::kElementStart));
    EXPECT_TRUE(link.RequestWriteFrom(Machine::kElementPacket, packet, answer));
    ASSERT_EQ(queue.requests.size(), 2u);
    EXPECT_EQ(queue.requests[0].element, Machine::kElementStart);
    EXPECT_EQ(
        queue.requests[0].destination,
        handler->GetImage(kImageWorking) + handler->GetDescriptor(Machine::kElementStart)->GetBlockStart());
    EXPECT_EQ(queue.requests[1].element, Machine::kElementPacket);
    EXPECT_EQ(queue.requests[1].source, packet);
    EXPECT_EQ(queue.requests[1].destination, answer);

    queue.refuse = true;
    EXPECT_FALSE(link.RequestRead(Machine::kElementStart));
    EXPECT_FALSE(link.RequestWriteFrom(Machine::kElementPacket, packet, answer));
}

TEST_F(CDataHandlerPatchLinkTest, ReadsTheStatusByteOfEachCommandElement) {
    for (int element : {Machine::kElementBusy, Machine::kElementStart, Machine::kElementFinish}) {
        SCOPED_TRACE(element);
        const BYTE status = static_cast<BYTE>(0x30 + element);
        handler->GetImage(kImageWorking)[handler->GetElementOffset(element)] = status;
        EXPECT_EQ(link.ReadStatusByte(element), status);
    }
    CDataHandlerPatchLink unwired;
    EXPECT_EQ(unwired.ReadStatusByte(Machine::kElementStart), 0);
}

}  // namespace

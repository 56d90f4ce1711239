#include "doubles/FakeSerial.h"

void FakeSerial::FailOpen(std::u16string reason) {
    failOpen_ = true;
    failReason_ = std::move(reason);
}

bool FakeSerial::Open(int portNo, std::string_view settings, std::u16string& reason) {
    openCalls_.push_back({portNo, std::string(settings)});
    if (failOpen_) {
        reason = failReason_;
        return false;
    }
    if (open_) {
        misuse_.push_back("Open while the port is open");
        reason = u"The port is already open.";
        return false;
    }
    open_ = true;
    waiting_.clear();
    return true;
}

void FakeSerial::Close() {
    ++closeCalls_;
    open_ = false;
    waiting_.clear();
}

void FakeSerial::ClearBuffers() {
    ++clearCalls_;
    waiting_.clear();
}

void FakeSerial::Output(std::span<const std::uint8_t> bytes) {
    wire_.push_back({clock_.Now(), Bytes(bytes.begin(), bytes.end()), open_});
    if (!open_) {
        misuse_.push_back("Output on a closed port: " + DescribeCommand(bytes));
        return;
    }
    if (onOutput_) {
        onOutput_(bytes);
    }
}

std::vector<std::uint8_t> FakeSerial::Input() {
    ++inputCalls_;
    Bytes all;
    all.swap(waiting_);
    return all;
}

void FakeSerial::Deliver(std::span<const std::uint8_t> bytes) {
    if (!open_) {
        droppedWhileClosed_ += bytes.size();
        return;
    }
    waiting_.insert(waiting_.end(), bytes.begin(), bytes.end());
    if (threshold_ > 0 && waiting_.size() >= static_cast<std::size_t>(threshold_)) {
        RaiseEvent(CommEventReceive);
    }
}

void FakeSerial::RaiseEvent(int commEvent) {
    if (commEvent == CommEventReceive) {
        ++receiveEvents_;
    }
    if (onReceive_) {
        onReceive_(commEvent);
    }
}

std::vector<std::string> FakeSerial::WireText() const {
    return WireTextFrom(0);
}

std::vector<std::string> FakeSerial::WireTextFrom(std::size_t first) const {
    std::vector<std::string> texts;
    for (std::size_t i = first; i < wire_.size(); ++i) {
        texts.push_back(DescribeCommand(wire_[i].Data));
    }
    return texts;
}

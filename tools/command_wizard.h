// The relay command wizard (dialog 131, "继电器板指令生成向导V1.7"): pick a
// relay-board operation, its address, channel, parameter and reply choice,
// see the frame as hex text or the operation's filling-in help, and send
// the output box's bytes. Modal, opened from "工具" → "指令向导".
#pragma once

#include <string>

#include "platform/window.h"
#include "tools/relay_frames.h"
#include "tools/tool_link.h"

namespace orlo {

class Czhilingshengchengqi : public Window {
public:
    // link must outlive the window.
    explicit Czhilingshengchengqi(ToolLink& link) : link_(link) {}

    // The output box on opening: "使用说明：" and two sentences, one a line.
    static std::string usageText();
    // The filling-in help of an operation (heading and sentences, one a
    // line); empty for an index outside the list.
    static std::string helpText(int operation);

    int templateId() const override;
    void onInit() override;
    void onCommand(int id, Notify code) override;

    // What the controls say now.
    RelayRequest request() const;

private:
    void operationChanged();
    void generate();
    void showHelp();
    void send();

    ToolLink& link_;
};

}  // namespace orlo

#pragma once

// Points a dialog's global (Form2 … Form5) at the instance being shown, and back at no
// instance when the scope ends, however it ends.
template <typename Form>
class OpenInstance {
public:
    OpenInstance(Form*& global, Form& instance) : global_(global) { global_ = &instance; }
    ~OpenInstance() { global_ = nullptr; }
    OpenInstance(const OpenInstance&) = delete;
    OpenInstance& operator=(const OpenInstance&) = delete;

private:
    Form*& global_;
};

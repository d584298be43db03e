#pragma once
// Shows a frame with a rubber-band rectangle that the user moves and resizes, and returns that
// rectangle in picture coordinates for cropping every frame. Resizable, at least 300 x 200.
#include <windows.h>
#include "CDialogEx.h"
#include "CGifFrameView.h"

class CScreenImage;

class CClippingDlg : public CDialogEx {
public:
    // The picture is not owned; it must outlive the dialog.
    CClippingDlg(CScreenImage* picture, CWnd* parent = nullptr);

    // After IDOK: the crop rectangle in picture coordinates, never empty.
    RECT m_result{};

    static constexpr int kMinWidth = 300;
    static constexpr int kMinHeight = 200;

    // The preview (created with the dialog); for the frame editor's tests and for callers that
    // want to place the rectangle.
    CGifFrameView& GetView() { return m_view; }

    // Enter and Esc are swallowed: only "실행" and the close box end the dialog.
    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void OnSize(int width, int height);

    CScreenImage* m_picture;
    CGifFrameView m_view;
};

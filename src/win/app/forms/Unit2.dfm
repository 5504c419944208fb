object Form2: TForm2
  Left = 513
  Top = 381
  BorderStyle = bsToolWindow
  Caption = 'Conto'
  ClientHeight = 93
  ClientWidth = 168
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -8
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  OldCreateOrder = False
  Position = poScreenCenter
  PixelsPerInch = 96
  TextHeight = 10
end

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
  object sLabelFX1: TsLabelFX
    Left = 8
    Top = 16
    Width = 137
    Height = 24
    Caption = 'a ................ = sega'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clBlack
    Font.Height = -13
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    ParentFont = False
    Kind.KindType = ktCustom
    Kind.Color = clMaroon
    Shadow.Mode = smCustom
    Shadow.Color = clYellow
  end
  object sLabelFX2: TsLabelFX
    Left = 8
    Top = 0
    Width = 157
    Height = 24
    Caption = #227' (Alt+0227)= m'#227'ng'#227'n'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clBlack
    Font.Height = -13
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    ParentFont = False
    Kind.KindType = ktCustom
    Kind.Color = clMaroon
    Shadow.Mode = smCustom
    Shadow.Color = clYellow
  end
  object sLabelFX3: TsLabelFX
    Left = 8
    Top = 32
    Width = 137
    Height = 24
    Caption = 'e ................ = liwet '
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clBlack
    Font.Height = -13
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    ParentFont = False
    Kind.KindType = ktCustom
    Kind.Color = clMaroon
    Shadow.Mode = smCustom
    Shadow.Color = clYellow
  end
  object sLabelFX4: TsLabelFX
    Left = 8
    Top = 48
    Width = 128
    Height = 24
    Caption = #233' (Alt+0233)= l'#233'l'#233
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clBlack
    Font.Height = -13
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    ParentFont = False
    Kind.KindType = ktCustom
    Kind.Color = clMaroon
    Shadow.Mode = smCustom
    Shadow.Color = clYellow
  end
  object sLabelFX5: TsLabelFX
    Left = 8
    Top = 64
    Width = 151
    Height = 24
    Caption = #232' (Alt+0232)= gor'#232'ng'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clBlack
    Font.Height = -13
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    ParentFont = False
    Kind.KindType = ktCustom
    Kind.Color = clMaroon
    Shadow.Mode = smCustom
    Shadow.Color = clYellow
  end
end

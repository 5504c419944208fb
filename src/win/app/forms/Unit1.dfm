object Form1: TForm1
  Left = 192
  Top = 112
  BorderIcons = [biSystemMenu, biMinimize]
  BorderStyle = bsSingle
  Caption = ''
  ClientHeight = 366
  ClientWidth = 321
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  OldCreateOrder = False
  Position = poScreenCenter
  OnCreate = FormCreate
  PixelsPerInch = 96
  TextHeight = 13
  object Bevel1: TBevel
    Left = 8
    Top = 24
    Width = 305
    Height = 289
    Shape = bsFrame
    Style = bsRaised
  end
  object Bevel2: TBevel
    Left = 8
    Top = 318
    Width = 305
    Height = 43
    Shape = bsFrame
    Style = bsRaised
  end
  object sLabelFX1: TsLabelFX
    Left = 32
    Top = -8
    Width = 241
    Height = 38
    Caption = 'Sapala Bahasa Vova'
    Font.Charset = ANSI_CHARSET
    Font.Color = clBlack
    Font.Height = -25
    Font.Name = 'Harrington'
    Font.Style = [fsBold]
    Layout = tlCenter
    ParentFont = False
    Kind.KindType = ktCustom
    Kind.Color = clLime
    Shadow.Mode = smCustom
    Shadow.Color = clMaroon
  end
  object sLabelFX2: TsLabelFX
    Left = 192
    Top = 320
    Width = 35
    Height = 26
    Caption = 'Qeto'
    Font.Charset = ANSI_CHARSET
    Font.Color = clBlack
    Font.Height = -15
    Font.Name = 'Brush Script MT'
    Font.Pitch = fpFixed
    Font.Style = [fsBold, fsItalic]
    Layout = tlCenter
    ParentFont = False
    Shadow.Mode = smCustom
  end
  object sWebLabel1: TsWebLabel
    Left = 32
    Top = 344
    Width = 113
    Height = 13
    Caption = 'qeto@sapala.example'
    Font.Charset = ANSI_CHARSET
    Font.Color = clTeal
    Font.Height = -12
    Font.Name = 'MS Sans Serif'
    Font.Pitch = fpVariable
    Font.Style = [fsBold]
    ParentFont = False
    UseSkinColor = False
    HoverFont.Charset = DEFAULT_CHARSET
    HoverFont.Color = clGreen
    HoverFont.Height = -11
    HoverFont.Name = 'MS Sans Serif'
    HoverFont.Style = []
    ShowMode = soNormal
  end
  object SpeedButton1: TSpeedButton
    Left = 160
    Top = 328
    Width = 25
    Height = 17
    Flat = True
    Glyph.Resource = 'HELPGLYPH'
    OnClick = SpeedButton1Click
  end
  object SpeedButton2: TSpeedButton
    Left = 160
    Top = 328
    Width = 25
    Height = 17
    Flat = True
    Glyph.Resource = 'HELPGLYPH'
    OnClick = SpeedButton2Click
  end
  object Edit1: TEdit
    Left = 16
    Top = 32
    Width = 97
    Height = 25
    BorderStyle = bsNone
    Color = clInfoBk
    Font.Charset = ARABIC_CHARSET
    Font.Color = clWindowText
    Font.Height = -15
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    TabOrder = 0
    OnKeyDown = Edit1KeyDown
    OnKeyPress = Edit1KeyPress
  end
  object GlazeButton1: TGlazeButton
    Left = 16
    Top = 56
    Width = 97
    Height = 25
    ColorFace = $00DDF9E8
    ColorGrad = $005EDF8E
    ColorDark = $0024B95C
    ColorLight = $00CBF5DB
    ColorBorder = $00156F37
    ColorText = $00000000
    OverColorFace = $00BFF2D2
    OverColorGrad = $003DD877
    OverColorDark = $0023B459
    OverColorLight = $00B5F0CB
    OverColorBorder = $0017793D
    OverColorText = $00000000
    DownColorFace = $004EDC83
    DownColorGrad = $0080E6A6
    DownColorDark = $0089E7AC
    DownColorLight = $00177D3E
    DownColorBorder = $00167439
    DownColorText = $00000000
    DisabledColorFace = $00EEEEEE
    DisabledColorGrad = $00FFFFFF
    DisabledColorDark = $00D2D2D2
    DisabledColorLight = $00FFFFFF
    DisabledColorBorder = $00808080
    DisabledColorText = $00808080
    ColorFocusRect = $0024B95C
    ColorScheme = csNeoGrass
    Ctl3D = True
    Layout = blGlyphLeft
    Spacing = 4
    TransparentGlyph = True
    Gradient = True
    HotTrack = True
    Caption = '&Cari'
    TabOrder = 1
    OnClick = GlazeButton1Click
  end
  object GlazeButton2: TGlazeButton
    Left = 240
    Top = 326
    Width = 57
    Height = 25
    ColorFace = $00E8E8FF
    ColorGrad = $009595FF
    ColorDark = $008282FF
    ColorLight = $00DDDDFF
    ColorBorder = $0000009D
    ColorText = $00000000
    OverColorFace = $00DFDFFF
    OverColorGrad = $007777FF
    OverColorDark = $006A6AFF
    OverColorLight = $00D7D7FF
    OverColorBorder = $0000009D
    OverColorText = $00000000
    DownColorFace = $00A6A6FF
    DownColorGrad = $00B9B9FF
    DownColorDark = $00CECEFF
    DownColorLight = $005E5EFF
    DownColorBorder = $0000009D
    DownColorText = $00000000
    DisabledColorFace = $00EEEEEE
    DisabledColorGrad = $00FFFFFF
    DisabledColorDark = $00D2D2D2
    DisabledColorLight = $00FFFFFF
    DisabledColorBorder = $00808080
    DisabledColorText = $00808080
    ColorFocusRect = $005E5EFF
    ColorScheme = csNeoRose
    Ctl3D = True
    Layout = blGlyphLeft
    Spacing = 4
    TransparentGlyph = True
    Gradient = True
    HotTrack = True
    Caption = '&Keluar'
    TabOrder = 2
    OnClick = GlazeButton2Click
  end
  object DBGrid1: TDBGrid
    Left = 16
    Top = 80
    Width = 129
    Height = 113
    DataSource = DataSource1
    FixedColor = clInfoBk
    Font.Charset = ANSI_CHARSET
    Font.Color = clWindowText
    Font.Height = -12
    Font.Name = 'Tahoma'
    Font.Style = [fsBold]
    ImeMode = imOpen
    Options = [dgIndicator, dgRowSelect, dgAlwaysShowSelection, dgConfirmDelete, dgCancelOnExit]
    ReadOnly = True
    TabOrder = 3
    TitleFont.Charset = DEFAULT_CHARSET
    TitleFont.Color = clWindowText
    TitleFont.Height = -11
    TitleFont.Name = 'MS Sans Serif'
    TitleFont.Style = []
    OnCellClick = DBGrid1CellClick
    OnKeyPress = DBGrid1KeyPress
    Columns = <
      item
        Expanded = False
        FieldName = 'ID'
        Visible = True
      end>
  end
  object DBNavigator1: TDBNavigator
    Left = 24
    Top = 328
    Width = 136
    Height = 18
    DataSource = DataSource1
    VisibleButtons = [nbFirst, nbPrior, nbNext, nbLast]
    TabOrder = 4
  end
  object DBRichEdit1: TDBRichEdit
    Left = 112
    Top = 32
    Width = 193
    Height = 113
    DataField = 'warna'
    DataSource = DataSource1
    ReadOnly = True
    TabOrder = 5
  end
  object DBRichEdit2: TDBRichEdit
    Left = 112
    Top = 144
    Width = 193
    Height = 49
    DataField = 'Hanacaraka'
    DataSource = DataSource1
    Font.Height = -16
    Font.Name = 'Javanese Text'
    ReadOnly = True
    TabOrder = 6
  end
  object DBGrid2: TDBGrid
    Left = 16
    Top = 200
    Width = 129
    Height = 105
    DataSource = DataSource2
    FixedColor = clInfoBk
    Font.Charset = ANSI_CHARSET
    Font.Color = clWindowText
    Font.Height = -12
    Font.Name = 'Tahoma'
    Font.Style = [fsBold]
    Options = [dgIndicator, dgRowSelect, dgAlwaysShowSelection, dgConfirmDelete, dgCancelOnExit]
    ReadOnly = True
    TabOrder = 7
    TitleFont.Charset = DEFAULT_CHARSET
    TitleFont.Color = clWindowText
    TitleFont.Height = -11
    TitleFont.Name = 'MS Sans Serif'
    TitleFont.Style = []
    OnCellClick = DBGrid2CellClick
    OnKeyPress = DBGrid2KeyPress
    Columns = <
      item
        Expanded = False
        FieldName = 'ID'
        Visible = True
      end>
  end
  object DBRichEdit3: TDBRichEdit
    Left = 112
    Top = 200
    Width = 193
    Height = 105
    DataField = 'warna'
    DataSource = DataSource2
    ReadOnly = True
    TabOrder = 8
  end
  object DBRichEdit4: TDBRichEdit
    Left = 112
    Top = 144
    Width = 193
    Height = 49
    DataField = 'Hanacaraka'
    DataSource = DataSource2
    Font.Height = -16
    Font.Name = 'Javanese Text'
    ReadOnly = True
    TabOrder = 9
  end
  object DBNavigator2: TDBNavigator
    Left = 24
    Top = 328
    Width = 136
    Height = 18
    DataSource = DataSource2
    VisibleButtons = [nbFirst, nbPrior, nbNext, nbLast]
    TabOrder = 10
  end
  object ADOConnection1: TADOConnection
    Connected = True
    ConnectionString = 
      'Provider=MSDASQL.1;Password=qovtar;Persist Security Info=True;Us' +
      'er ID=admin;Extended Properties="DSN=Excel Files;DBQ=C:\Program ' +
      'Files\Sapala Vova\sapala.bat;DefaultDir=C:\Program Files\Sapala ' +
      'Vova;DriverId=1046;MaxBufferSize=2048;PageTimeout=5;"'
    LoginPrompt = False
    Mode = cmShareDenyNone
  end
  object ADOQuery1: TADOQuery
    Active = True
    Connection = ADOConnection1
    CursorType = ctStatic
    Parameters = <>
    SQL.Strings = (
      'select * from warna')
  end
  object DataSource1: TDataSource
    DataSet = ADOQuery1
  end
  object ADOQuery2: TADOQuery
    Active = True
    Connection = ADOConnection1
    CursorType = ctStatic
    Parameters = <>
    SQL.Strings = (
      'select*from warna')
  end
  object DataSource2: TDataSource
    DataSet = ADOQuery2
  end
  object sSkinManager1: TsSkinManager
    InternalSkins = <>
    MenuSupport.IcoLineSkin = 'ICOLINE'
    MenuSupport.ExtraLineFont.Charset = DEFAULT_CHARSET
    MenuSupport.ExtraLineFont.Color = clWindowText
    MenuSupport.ExtraLineFont.Height = -11
    MenuSupport.ExtraLineFont.Name = 'MS Sans Serif'
    MenuSupport.ExtraLineFont.Style = []
    SkinDirectory = 'C:\Program Files\Sapala Vova'
    SkinName = 'DiruriZedaz'
    SkinInfo = '7.2'
    ThirdParty.ThirdEdits = ' '
    ThirdParty.ThirdButtons = 'TButton'
    ThirdParty.ThirdBitBtns = ' '
    ThirdParty.ThirdCheckBoxes = ' '
    ThirdParty.ThirdGroupBoxes = ' '
    ThirdParty.ThirdListViews = ' '
    ThirdParty.ThirdPanels = ' '
    ThirdParty.ThirdGrids = ' '
    ThirdParty.ThirdTreeViews = ' '
    ThirdParty.ThirdComboBoxes = ' '
    ThirdParty.ThirdWWEdits = ' '
    ThirdParty.ThirdVirtualTrees = ' '
    ThirdParty.ThirdGridEh = ' '
    ThirdParty.ThirdPageControl = ' '
    ThirdParty.ThirdTabControl = ' '
    ThirdParty.ThirdToolBar = ' '
    ThirdParty.ThirdStatusBar = ' '
    ThirdParty.ThirdSpeedButton = ' '
  end
end

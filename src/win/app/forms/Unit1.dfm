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
end

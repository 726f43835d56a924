object Form1: TForm1
  Left = 219
  Top = 198
  BorderStyle = bsDialog
  Caption = 'Gestione upgrade database Vendaro 5'
  ClientHeight = 161
  ClientWidth = 563
  Color = clBtnFace
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  OnShow = FormShow
  PixelsPerInch = 96
  object Label1: TLabel
    Left = 16
    Top = 24
    Width = 521
    Height = 17
    AutoSize = False
    Caption = 
      'Questa procedura permette di aggiornare il database del programm' +
      'a Vendaro 5'
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    ParentFont = False
  end
  object Label2: TLabel
    Left = 16
    Top = 120
    Width = 529
    Height = 17
    AutoSize = False
    Caption = '-'
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    ParentFont = False
  end
  object Button1: TButton
    Left = 16
    Top = 64
    Width = 121
    Height = 33
    Caption = 'Aggiorna database'
    TabOrder = 0
    OnClick = Button1Click
  end
  object Database1: TDatabase
    DatabaseName = 'VenDar5'
    DriverName = 'STANDARD'
    SessionName = 'Default'
  end
  object Query1: TQuery
    DatabaseName = 'VenDar5'
    RequestLive = True
  end
  object Database2: TDatabase
    DatabaseName = 'SVenDar5'
    DriverName = 'MSACCESS'
    LoginPrompt = False
    Params.Strings = (
      'OPEN MODE=READ/WRITE')
    SessionName = 'Default'
  end
  object Query2: TQuery
    DatabaseName = 'SVenDar5'
    RequestLive = True
  end
end

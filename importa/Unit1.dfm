object Form1: TForm1
  Left = 276
  Top = 152
  BorderIcons = [biSystemMenu]
  BorderStyle = bsDialog
  Caption = 'Procedura di importazione'
  ClientHeight = 425
  ClientWidth = 425
  Color = clBtnFace
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  OnShow = FormShow
  PixelsPerInch = 96
  object GroupBox1: TGroupBox
    Left = 8
    Top = 8
    Width = 409
    Height = 113
    Caption = 'Percorso della base dati di Progetto Vendaro 4'
    TabOrder = 0
    object Label1: TLabel
      Left = 8
      Top = 24
      Width = 241
      Height = 13
      Caption = 'Specificare il percorso del file: dbVendaroBase4.mdb'
    end
    object Edit1: TEdit
      Left = 8
      Top = 48
      Width = 385
      Height = 21
      TabOrder = 1
    end
    object OBLButton4: TOBLButton
      Left = 8
      Top = 80
      Width = 89
      Height = 25
      Caption = '&Cerca database'
      TabOrder = 2
      OnClick = OBLButton4Click
    end
    object OBLButton3: TOBLButton
      Left = 104
      Top = 80
      Width = 113
      Height = 25
      Caption = '&Test collegamento'
      TabOrder = 0
      OnClick = OBLButton3Click
    end
  end
  object GroupBox2: TGroupBox
    Left = 8
    Top = 128
    Width = 409
    Height = 249
    Caption = 'Importazione dati'
    TabOrder = 1
    object CheckBox5: TCheckBox
      Left = 8
      Top = 32
      Width = 105
      Height = 17
      Caption = 'Anagrafica Ditta'
      TabOrder = 5
    end
    object CheckBox1: TCheckBox
      Left = 8
      Top = 64
      Width = 137
      Height = 17
      Caption = 'Anagrafica Clienti'
      TabOrder = 0
    end
    object CheckBox2: TCheckBox
      Left = 8
      Top = 88
      Width = 145
      Height = 17
      Caption = 'Anagrafica Fornitori'
      TabOrder = 1
    end
    object CheckBox3: TCheckBox
      Left = 8
      Top = 112
      Width = 145
      Height = 17
      Caption = 'Anagrafica collaboratori'
      TabOrder = 2
    end
    object CheckBox6: TCheckBox
      Left = 8
      Top = 136
      Width = 129
      Height = 17
      Caption = 'Anagrafica vettori'
      TabOrder = 6
    end
    object CheckBox7: TCheckBox
      Left = 8
      Top = 160
      Width = 145
      Height = 17
      Caption = 'Anagrafica rappresentati'
      TabOrder = 7
    end
    object CheckBox8: TCheckBox
      Left = 8
      Top = 184
      Width = 129
      Height = 17
      Caption = 'Anagrafica consulenti'
      TabOrder = 8
    end
    object CheckBox4: TCheckBox
      Left = 8
      Top = 216
      Width = 145
      Height = 17
      Caption = 'Anagrafica Articoli'
      TabOrder = 4
    end
    object ListBox1: TListBox
      Left = 176
      Top = 16
      Width = 217
      Height = 217
      ItemHeight = 13
      TabOrder = 3
    end
  end
  object OBLButton1: TOBLButton
    Left = 8
    Top = 384
    Width = 137
    Height = 33
    Caption = '&Inizia importazione dati'
    Enabled = False
    TabOrder = 2
    OnClick = OBLButton1Click
  end
  object OBLButton2: TOBLButton
    Left = 344
    Top = 384
    Width = 73
    Height = 33
    Caption = '&Chiudi'
    TabOrder = 3
    OnClick = OBLButton2Click
  end
  object Database1: TDatabase
    DatabaseName = 'PVenDar5'
    DriverName = 'STANDARD'
    Params.Strings = (
      'PATH=C:\Programmi\Vendaro5\Dati')
    SessionName = 'Default'
  end
  object Database2: TDatabase
    DatabaseName = 'PVenDar4'
    DriverName = 'MSACCESS'
    KeepConnection = False
    LoginPrompt = False
    Params.Strings = (
      'OPEN MODE=READ/WRITE')
    ReadOnly = True
    SessionName = 'Default'
  end
  object Query1: TQuery
    DatabaseName = 'PVenDar5'
    RequestLive = True
  end
  object Query3: TQuery
    DatabaseName = 'PVenDar5'
  end
  object Query2: TQuery
    DatabaseName = 'PVenDar4'
    SQL.Strings = (
      'select * from tblAnagrafiche')
  end
  object Query4: TQuery
    DatabaseName = 'PVenDar4'
  end
  object OpenDialog1: TOpenDialog
    FileName = '*.mdb'
    Filter = 'mdb|*.mdb'
  end
end
